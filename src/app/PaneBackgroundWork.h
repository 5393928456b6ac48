// The work the panes hand to background threads: folder sizes, measured for both
// panes by one thread, and the icons of each listing, looked up by a thread per pane.
// Results come back on the UI thread to the receivers the window gives; this class
// never touches a widget.
#pragma once

#include "app/TDirData.h"
#include "fileops/DirSizeCounter.h"
#include "fileops/DirSizeQueue.h"

#include <QHash>
#include <QPointer>
#include <array>
#include <functional>

class QObject;
class TDirSizeThread;
class TReadIconsThread;

class PaneBackgroundWork {
public:
    struct Receivers {
        // The pane of an identifier (1 left, 2 right), or null.
        std::function<TDirData*(int paneId)> PaneOf;
        std::function<void(const DirSizeResult&)> SizeFound;
        std::function<void(TDirData& pane, int row, int iconIndex, quintptr imageList)> IconFound;
    };

    // `context`: an object of the UI thread, where results are delivered.
    PaneBackgroundWork(QObject* context, Receivers receivers);
    ~PaneBackgroundWork();   // stops and waits for every thread
    PaneBackgroundWork(const PaneBackgroundWork&) = delete;
    PaneBackgroundWork& operator=(const PaneBackgroundWork&) = delete;

    void StartSizes();
    void StopSizes();
    // The pane's folders join the size queue, replacing what it asked before.
    void QueueSizes(TDirData& pane);
    void WithdrawSizes(TDirData& pane);
    DirSizeQueue& SizeQueue() { return m_sizeQueue; }

    // Looks up the icons of the pane's current listing, stopping the earlier pass.
    void StartIcons(TDirData& pane);
    void StopIcons(TDirData& pane);
    // Rows first..last (on screen) are looked up before the rest.
    void PrioritizeIcons(const TDirData& pane, int first, int last);
    // Ends every thread and waits for them: shutdown.
    void StopAll();

private:
    struct NameIndex {
        int Generation = -1;
        QHash<QString, int> Rows;
    };
    QPointer<TReadIconsThread>& iconThreadOf(const TDirData& pane);
    void applyIcon(int paneId, int generation, int index, const QString& name, const QString& mimeType);
    int rowOf(TDirData& pane, int index, const QString& name);

    QObject* m_context;
    Receivers m_receivers;
    DirSizeQueue m_sizeQueue;
    TDirSizeThread* m_sizeThread = nullptr;
    std::array<QPointer<TReadIconsThread>, 2> m_iconThreads;
    // Rows by name, for icons that arrive after a sort has moved their rows.
    std::array<NameIndex, 2> m_nameIndex;
};
