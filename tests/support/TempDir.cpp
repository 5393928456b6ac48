#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

TempDir::TempDir()
    : m_dir(QDir::tempPath() + QStringLiteral("/dorvane-tree-XXXXXX"))
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

QString TempDir::path() const { return m_dir.path(); }

QString TempDir::filePath(const QString& relative) const { return m_dir.filePath(relative); }

QString TempDir::makeFile(const QString& relative, const QByteArray& content)
{
    const QString full = filePath(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        throw std::runtime_error("cannot write test file");
    return full;
}

QString TempDir::makeSizedFile(const QString& relative, qint64 size)
{
    const QString full = makeFile(relative);
    QFile f(full);
    if (!f.open(QIODevice::ReadWrite) || !f.resize(size))
        throw std::runtime_error("cannot size test file");
    return full;
}

QString TempDir::makeDir(const QString& relative)
{
    const QString full = filePath(relative);
    QDir().mkpath(full);
    return full;
}

void TempDir::setModified(const QString& relative, const QDateTime& when)
{
    QFile f(filePath(relative));
    if (!f.open(QIODevice::ReadWrite) || !f.setFileTime(when, QFileDevice::FileModificationTime))
        throw std::runtime_error("cannot set file time");
}
