// The program's one small-icon list, standing where the system image list stands:
// icons by MIME type from the desktop's icon theme, with the program's own icons as
// fallback. Handle() names the list (never 0); an index names one icon in it.
#pragma once

#include <QIcon>
#include <QString>
#include <QHash>
#include <QVector>

class TSysImageList {
public:
    static TSysImageList& Instance();   // UI thread only

    quintptr Handle() const;

    // MIME type name of a file, folder or volume root; safe on any thread
    // (worker threads call this, the UI thread turns the name into an index).
    static QString MimeTypeOf(const QString& path);
    // The same for a path the caller knows to be no folder, without asking the file
    // system what it is.
    static QString MimeTypeOfFile(const QString& path);
    // What the name alone says, for files that cannot be read (a zip's members).
    static QString MimeTypeOfName(const QString& fileName);

    int IndexForMimeType(const QString& mimeType);  // UI thread
    int IndexForPath(const QString& path);          // UI thread: MimeTypeOf + index
    int IndexForFileName(const QString& fileName);  // UI thread: MimeTypeOfName + index
    int FolderIndex();
    int FileIndex();
    int DriveIndex();
    QIcon Icon(int index) const;

private:
    TSysImageList();
    int addIcon(const QIcon& icon);

    QVector<QIcon> m_icons;
    QHash<QString, int> m_byMime;
};
