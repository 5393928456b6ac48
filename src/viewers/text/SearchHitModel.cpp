#include "viewers/text/SearchHitModel.h"

#include "viewers/text/TTextView.h"
#include "viewers/text/TextLineFormat.h"

#include <algorithm>
#include <climits>

SearchHitModel::SearchHitModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void SearchHitModel::SetHits(HitList hits, TTextView* view)
{
    beginResetModel();
    m_hits = std::move(hits);
    m_view = view;
    m_reader.Close();
    if (m_view && !m_hits.Empty())
        m_reader.Open(m_view->Filename());
    endResetModel();
}

void SearchHitModel::Clear()
{
    SetHits({}, nullptr);
}

SearchHitModel::Place SearchHitModel::PlaceOf(int row) const
{
    const qint64 offset = m_hits.At(size_t(row));
    if (!m_view)
        return {0, offset + 1};
    if (m_view->ViewMode() == TextViewMode::Hex)
        return {offset / 16, offset % 16 + 1};
    const qint64 line = m_view->LineOfOffset(offset);
    const qint64 start = m_view->LineStart(line);
    if (!m_reader.IsOpen())
        return {line, offset - start + 1};
    const QByteArray raw = m_reader.Read(start, offset - start);
    return {line, TextLineFormat::ColumnOf(raw, int(raw.size()), m_view->TabSize())};
}

int SearchHitModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(std::min<size_t>(m_hits.Size(), INT_MAX));
}

QVariant SearchHitModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Place place = PlaceOf(index.row());
    return QStringLiteral("%1,%2").arg(place.Line).arg(place.Column);
}
