// The rows of a pane's list: as many as the pane has entries, with no stored texts.
// Texts are produced on demand, for painting and for screen readers.
#pragma once

#include <QAbstractListModel>

struct AppSettings;
class TDirData;

class PaneListModel : public QAbstractListModel {
    Q_OBJECT
public:
    PaneListModel(TDirData& pane, const AppSettings& settings, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void BeginListing();
    void EndListing();
    void RowChanged(int row);

    // Name, size, time and description of a row, as a screen reader reads them.
    QString AccessibleRowText(int row) const;

private:
    TDirData& m_pane;
    const AppSettings& m_settings;
};
