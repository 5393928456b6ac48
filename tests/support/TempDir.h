// A temporary folder tree for one test: files are made relative to it and the whole
// tree is removed when the test ends.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

class TempDir {
public:
    TempDir();

    // Absolute path of the folder, without a trailing slash.
    QString path() const;
    // Absolute path of a name inside the folder.
    QString filePath(const QString& relative) const;

    // Creates a file (and its parent folders) holding the given bytes.
    QString makeFile(const QString& relative, const QByteArray& content = {});
    // Creates a file of the given size without writing its bytes (a sparse file).
    QString makeSizedFile(const QString& relative, qint64 size);
    QString makeDir(const QString& relative);
    void setModified(const QString& relative, const QDateTime& when);

private:
    QTemporaryDir m_dir;
};
