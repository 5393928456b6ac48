#include "app/PaneListModel.h"

#include "app/AppSettings.h"
#include "app/CellTexts.h"
#include "app/TDirData.h"
#include "platform/FileNames.h"

PaneListModel::PaneListModel(TDirData& pane, const AppSettings& settings, QObject* parent)
    : QAbstractListModel(parent)
    , m_pane(pane)
    , m_settings(settings)
{
}

int PaneListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_pane.Count;
}

QVariant PaneListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_pane.Count)
        return {};
    switch (role) {
    case Qt::DisplayRole:        // what the row draws, and what keyboard search matches
        return DisplayFileName(m_pane.Item(index.row())->Name);
    case Qt::AccessibleTextRole:
        return AccessibleRowText(index.row());
    default:
        return {};
    }
}

QString PaneListModel::AccessibleRowText(int row) const
{
    const TFileData& e = *m_pane.Item(row);
    QStringList cells{DisplayFileName(e.Name)};
    const QString size = EntryTexts::Size(e, m_settings.ShowBigSize);
    if (!size.isEmpty())
        cells << size;
    const QString time = EntryTexts::Time(e);
    if (!time.isEmpty())
        cells << time;
    if (!e.Description.isEmpty())
        cells << e.Description;
    return cells.join(QStringLiteral(", "));
}

void PaneListModel::BeginListing() { beginResetModel(); }

void PaneListModel::EndListing() { endResetModel(); }

void PaneListModel::RowChanged(int row)
{
    if (row >= 0 && row < m_pane.Count)
        Q_EMIT dataChanged(index(row), index(row));
}
