// The search window of a text view: every occurrence of a word or sentence in the
// file, overlapping ones included, listed as line and column; a click shows the hit.
// The search runs on a worker thread and stops when the window closes; the list asks
// for the rows it shows, so any number of hits shows at once.
#pragma once

#include <QDialog>
#include <QPointer>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class HitList;
class QListView;
class SearchHitModel;
class TTextView;

class TSearchwin : public QDialog {
    Q_OBJECT
public:
    // Opens the view's search window, or beeps when one is open already.
    static TSearchwin* Open(TTextView* view);

    ~TSearchwin() override;

    QLineEdit* Edit1() const { return m_edit; }
    QCheckBox* IgnoreCase() const { return m_ignoreCase; }
    QListView* ListBox1() const { return m_results; }
    QLabel* Status() const { return m_status; }
    bool Searching() const { return m_worker.joinable() && !m_done; }

    void Search();
    // Shows the result of that row in the view.
    void ShowResult(int row);

Q_SIGNALS:
    void Finished();

private:
    explicit TSearchwin(TTextView* view);
    void stopSearch();
    void searchEnded(HitList& hits, const QString& error);
    void textEdited();

    QPointer<TTextView> m_view;
    QLineEdit* m_edit;
    QCheckBox* m_ignoreCase;
    QListView* m_results;
    SearchHitModel* m_model;
    QLabel* m_status;
    int m_patternLength = 0;
    std::thread m_worker;
    std::shared_ptr<std::atomic<bool>> m_stop;
    bool m_done = true;
};
