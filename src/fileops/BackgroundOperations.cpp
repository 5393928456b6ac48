#include "fileops/BackgroundOperations.h"

#include "platform/TMessages.h"

BackgroundOperations::BackgroundOperations(Starter starter, QWidget* window, std::function<void(uint16_t)> ended)
    : m_starter(std::move(starter))
    , m_window(window)
    , m_ended(std::move(ended))
{
}

bool BackgroundOperations::Launch(const TShellFileOpRecord& record, const QString& sourceDir,
                                  const QString& targetDir)
{
    const std::optional<uint16_t> id = m_table.Launch(record, sourceDir, targetDir);
    if (!id) {
        TMessages::Show(MsgKind::Warning, tr("Unable to launch asynchronous shell operation. No free slots."),
                        MsgButtons::Ok, m_window);
        return false;
    }
    // The table's copy runs, never the caller's record, which the pane may change.
    m_starter(m_table.Find(*id)->Operation, *id, [ended = m_ended](uint16_t done, int) { ended(done); });
    MessageBeep();
    return true;
}

std::optional<PendingOperation> BackgroundOperations::Finish(uint16_t id)
{
    MessageBeep();
    const PendingOperation* slot = m_table.Find(id);
    if (!slot) {
        TMessages::Show(MsgKind::Warning, tr("Asynchronous shell operation completion with invalid ID."),
                        MsgButtons::Ok, m_window);
        return std::nullopt;
    }
    PendingOperation ended = *slot;
    m_table.Complete(id);
    return ended;
}

bool BackgroundOperations::ConfirmQuit() const
{
    if (m_table.Count() == 0)
        return true;
    return TMessages::Show(MsgKind::Warning,
                           tr("There are pending async shell operations.\nDo you really want to quit?"),
                           MsgButtons::YesNo, m_window)
        == MsgResult::Yes;
}
