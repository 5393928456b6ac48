// Waits in the background for a program this process launched to end, then deletes
// the temporary copy it was given (a file taken out of an archive to be opened).
#pragma once

#include <QString>
#include <QThread>
#include <sys/types.h>

class TWaitProcessEnd final : public QThread {
    Q_OBJECT
public:
    // `pid` must be a child of this process. `fileName` may be empty: the child is
    // then only reaped. Starts at once, one step below normal priority, and deletes
    // itself after the run; do not keep the pointer.
    TWaitProcessEnd(pid_t pid, const QString& fileName);

protected:
    void run() override;

private:
    pid_t m_pid;
    QString m_fileName;
};
