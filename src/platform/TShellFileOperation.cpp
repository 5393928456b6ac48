// Copy, move, delete and rename with the program's windows (see TShellFileOperation.h).
//
// The engine always runs off the UI thread: Execute on the UI thread starts a worker
// and waits in a local event loop (windows stay painted, the progress window is modal
// to the owner); Execute on a worker runs the engine right there. Either way the
// questions are asked on the UI thread, and a cancel releases a worker that waits for
// one, so shutdown (CancelAll, then WaitForAll) cannot deadlock.
#include "platform/TShellFileOperation.h"

#include "platform/FileOpJob.h"
#include "platform/FileOpUiObserver.h"
#include "platform/FileOperationEngine.h"
#include "platform/TFileOpProgressWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

// A quick operation ends before its window would only flash.
constexpr int kShowWindowAfterMs = 300;

// The operations running now, from any thread.
struct RunningList {
    std::mutex Lock;
    std::condition_variable Ended;
    std::vector<std::shared_ptr<FileOpJob>> Jobs;   // guarded by Lock
};

RunningList& running()
{
    static RunningList r;
    return r;
}

// Counts an operation as running while the engine works on it.
class Registration {
public:
    explicit Registration(std::shared_ptr<FileOpJob> job) : m_job(std::move(job))
    {
        std::lock_guard<std::mutex> guard(running().Lock);
        running().Jobs.push_back(m_job);
    }
    ~Registration()
    {
        m_job->Finished = true;
        {
            std::lock_guard<std::mutex> guard(running().Lock);
            auto& jobs = running().Jobs;
            jobs.erase(std::remove(jobs.begin(), jobs.end(), m_job), jobs.end());
        }
        running().Ended.notify_all();
    }
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

private:
    std::shared_ptr<FileOpJob> m_job;
};

bool onUiThread() { return qApp && QThread::currentThread() == qApp->thread(); }

bool requestOf(const TShellFileOpRecord& record, FileOpRequest& request)
{
    switch (record.Function) {
    case FO_COPY: request.Kind = FileOpKind::Copy; break;
    case FO_MOVE: request.Kind = FileOpKind::Move; break;
    case FO_DELETE: request.Kind = FileOpKind::Delete; break;
    case FO_RENAME: request.Kind = FileOpKind::Rename; break;
    default: return false;
    }
    request.Sources = record.Source;
    request.Target = record.Target;
    request.UseTrash = record.Flags & FOF_ALLOWUNDO;
    request.CreateTargetSilently = record.Flags & FOF_NOCONFIRMMKDIR;
    return true;
}

int codeOf(FileOpResult result)
{
    switch (result) {
    case FileOpResult::Done: return kFileOpDone;
    case FileOpResult::Aborted: return kFileOpAborted;
    case FileOpResult::Failed: break;
    }
    return kFileOpFailed;
}

// The engine on a worker, this thread waiting in a local event loop.
FileOpResult runFromUiThread(const FileOpRequest& request, const std::shared_ptr<FileOpJob>& job, QWidget* owner,
                             bool& aborted)
{
    TFileOpProgressWindow window(job, owner);
    job->Window = &window;
    FileOpUiObserver observer(job, owner);
    FileOperationEngine engine(observer);
    FileOpResult result = FileOpResult::Failed;
    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        {
            Registration registration(job);
            result = engine.Run(request);
            aborted = engine.AnyAborted();
        }
        QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    }));
    worker->setStackSize(FileOpFolder::kWalkStackBytes);
    worker->start();
    // Until the window shows, keyboard and mouse wait, so nothing can start a second
    // operation under this one; the questions' own windows still take input.
    QTimer showTimer;
    showTimer.setSingleShot(true);
    QObject::connect(&showTimer, &QTimer::timeout, &loop, &QEventLoop::quit);
    showTimer.start(kShowWindowAfterMs);
    if (!job->Finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    showTimer.stop();
    if (!job->Finished) {
        window.show();
        loop.exec();
    }
    worker->wait();
    return result;
}

// The engine on this worker thread; the window lives on the UI thread.
FileOpResult runOnWorker(const FileOpRequest& request, const std::shared_ptr<FileOpJob>& job, QWidget* owner,
                         bool& aborted)
{
    if (qApp) {
        QMetaObject::invokeMethod(qApp, [job] {
            auto* window = new TFileOpProgressWindow(job, nullptr);
            window->setAttribute(Qt::WA_DeleteOnClose);
            job->Window = window;
            QTimer::singleShot(kShowWindowAfterMs, window, [window, job] {
                if (!job->Finished)
                    window->show();
            });
        }, Qt::QueuedConnection);
    }
    FileOpUiObserver observer(job, owner);
    FileOperationEngine engine(observer);
    FileOpResult result;
    {
        Registration registration(job);
        result = engine.Run(request);
        aborted = engine.AnyAborted();
    }
    if (qApp) {
        // Queued after the creation above, so the window exists by then.
        QMetaObject::invokeMethod(qApp, [job] { delete job->Window.data(); }, Qt::QueuedConnection);
    }
    return result;
}

} // namespace

int TShellFileOperation::Execute(TShellFileOpRecord& record)
{
    record.AnyOperationsAborted = false;
    FileOpRequest request;
    if (!requestOf(record, request)) {
        record.AnyOperationsAborted = true;
        return kFileOpFailed;
    }
    auto job = std::make_shared<FileOpJob>(request.Kind);
    bool aborted = false;
    const FileOpResult result = onUiThread() ? runFromUiThread(request, job, record.Owner, aborted)
                                             : runOnWorker(request, job, record.Owner, aborted);
    // A refused request did nothing it was asked to do.
    record.AnyOperationsAborted = aborted || result != FileOpResult::Done;
    return codeOf(result);
}

void TShellFileOperation::CancelAll()
{
    std::vector<std::shared_ptr<FileOpJob>> jobs;
    {
        std::lock_guard<std::mutex> guard(running().Lock);
        jobs = running().Jobs;
    }
    for (const auto& job : jobs)
        job->Cancel = true;
    if (!qApp)
        return;
    auto closeQuestions = [jobs] {
        for (const auto& job : jobs)
            job->CloseQuestions();
    };
    if (onUiThread())
        closeQuestions();
    else
        QMetaObject::invokeMethod(qApp, closeQuestions, Qt::QueuedConnection);
}

bool TShellFileOperation::WaitForAll(int msecs)
{
    std::unique_lock<std::mutex> lock(running().Lock);
    return running().Ended.wait_for(lock, std::chrono::milliseconds(std::max(msecs, 0)),
                                    [] { return running().Jobs.empty(); });
}

int TShellFileOperation::Running()
{
    std::lock_guard<std::mutex> guard(running().Lock);
    return int(running().Jobs.size());
}
