// The copies and moves the user sent to the background: the table of their slots and
// the start of each on its own thread. The window launches them, hears of each end
// with the operation taken out of the table, and asks here before quitting while
// any still run.
#pragma once

#include "fileops/PendingOperations.h"

#include <QCoreApplication>
#include <functional>
#include <optional>

class QObject;
class QWidget;

class BackgroundOperations {
    Q_DECLARE_TR_FUNCTIONS(BackgroundOperations)
public:
    using Done = std::function<void(uint16_t id, int result)>;
    // Starts one operation on a thread; `done` runs on the window's thread when it ends.
    using Starter = std::function<void(const TShellFileOpRecord& record, uint16_t id, Done done)>;

    // `window` parents the messages; `ended` gets the identifier of each that ends.
    BackgroundOperations(Starter starter, QWidget* window, std::function<void(uint16_t id)> ended);

    // False, after telling the user, when every slot is taken.
    bool Launch(const TShellFileOpRecord& record, const QString& sourceDir, const QString& targetDir);
    // The ended operation, out of the table; nothing, after saying so, for an
    // identifier that is not pending.
    std::optional<PendingOperation> Finish(uint16_t id);
    // True when none is pending or the user wants to quit all the same.
    bool ConfirmQuit() const;

    const PendingOperations& Table() const { return m_table; }

private:
    PendingOperations m_table;
    Starter m_starter;
    QWidget* m_window;
    std::function<void(uint16_t)> m_ended;
};
