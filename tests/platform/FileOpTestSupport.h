// Shared pieces of the file-operation tests: an observer that answers from a script
// and records what it was told, small mounts (tests run as root), and tree checks.
#pragma once

#include "platform/FileOpObserver.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <vector>

class ScriptedObserver : public FileOpObserver {
public:
    std::deque<OverwriteChoice> OverwriteAnswers;
    std::deque<ErrorChoice> ErrorAnswers;
    std::deque<bool> ConfirmAnswers;
    std::function<void(const FileOpProgress&)> OnProgress;
    bool Cancel = false;

    std::vector<FileOpConflict> Conflicts;
    QStringList Errors;
    QStringList Confirms;
    QStringList Informs;
    std::vector<FileOpProgress> Reports;

    void Progress(const FileOpProgress& progress) override
    {
        Reports.push_back(progress);
        if (OnProgress)
            OnProgress(progress);
    }
    bool CancelRequested() override { return Cancel; }
    OverwriteChoice AskOverwrite(const FileOpConflict& conflict) override
    {
        Conflicts.push_back(conflict);
        return take(OverwriteAnswers, OverwriteChoice::Cancel, "overwrite question");
    }
    ErrorChoice AskError(const QString& text) override
    {
        Errors << text;
        return take(ErrorAnswers, ErrorChoice::Cancel, ("error: " + text.toStdString()).c_str());
    }
    bool Confirm(const QString& text) override
    {
        Confirms << text;
        return take(ConfirmAnswers, false, ("confirmation: " + text.toStdString()).c_str());
    }
    void Inform(const QString& text) override { Informs << text; }

private:
    // A question the script did not expect fails the test and cancels.
    template <class T> T take(std::deque<T>& answers, T fallback, const char* what)
    {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return fallback;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// A tmpfs or a read-only bind mount over a folder, removed again at the end.
class TestMount {
public:
    static TestMount Tmpfs(const QString& at, const char* options)
    {
        return TestMount(at, ::mount("tmpfs", QFile::encodeName(at).constData(), "tmpfs", 0, options) == 0);
    }
    static TestMount ReadOnlyBind(const QString& from, const QString& at)
    {
        const QByteArray target = QFile::encodeName(at);
        bool ok = ::mount(QFile::encodeName(from).constData(), target.constData(), nullptr, MS_BIND, nullptr) == 0;
        if (ok && ::mount(nullptr, target.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
            ::umount2(target.constData(), MNT_DETACH);
            ok = false;
        }
        return TestMount(at, ok);
    }
    TestMount(TestMount&& other) noexcept : m_at(other.m_at), m_ok(other.m_ok) { other.m_ok = false; }
    ~TestMount()
    {
        if (m_ok)
            ::umount2(QFile::encodeName(m_at).constData(), MNT_DETACH);
    }
    bool ok() const { return m_ok; }

private:
    TestMount(const QString& at, bool ok) : m_at(at), m_ok(ok) {}
    QString m_at;
    bool m_ok;
};

// A tmpfs at `at` as a second volume for the rest of the test; without mount rights
// the test is skipped (a macro, because GTEST_SKIP returns from the test itself).
#define DV_SECOND_VOLUME_OR_SKIP(mount, at, options)          \
    TestMount mount = TestMount::Tmpfs(at, options);          \
    if (!mount.ok())                                          \
    GTEST_SKIP() << "no mount rights for a second volume"

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Temporary copies the engine left behind anywhere below `root`.
inline QStringList leftovers(const QString& root)
{
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.contains(QLatin1String(".dvpart-")))
            found << path;
    }
    return found;
}

// Bytes that differ in every block, so a short or misplaced copy shows.
inline QByteArray patterned(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 4096) & 0xff);
    return bytes;
}
