// The rows of the search window: one per hit, its "line,column" text made only when a
// row is drawn or read, so that a hundred million hits cost their offsets and nothing
// more, and the list shows at once. UI thread only.
#pragma once

#include "viewers/text/HitList.h"
#include "viewers/text/TextFileReader.h"

#include <QAbstractListModel>
#include <QPointer>

class TTextView;

class SearchHitModel : public QAbstractListModel {
    Q_OBJECT
public:
    struct Place {
        qint64 Line = 0;
        qint64 Column = 0;   // from 1, tabs expanded
    };

    explicit SearchHitModel(QObject* parent = nullptr);

    // The hits of a search in the file `view` shows.
    void SetHits(HitList hits, TTextView* view);
    void Clear();
    size_t HitCount() const { return m_hits.Size(); }
    Place PlaceOf(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    HitList m_hits;
    QPointer<TTextView> m_view;
    TextFileReader m_reader;
};
