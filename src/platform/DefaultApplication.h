// Which application opens a MIME type, by the freedesktop MIME Applications
// Associations rules: the mimeapps.list files of the XDG config and data folders,
// then the mimeinfo.cache files the desktop-file installers keep.
#pragma once

#include <QString>
#include <QStringList>

class DefaultApplication {
public:
    // The installed desktop-file ids that may open MIME_TYPE, best first: the
    // [Default Applications] of every mimeapps.list in lookup order, then its
    // [Added Associations] and the mimeinfo.cache entries, less the [Removed
    // Associations]. Then the same for the type's ancestors (text/x-csrc lends
    // text/plain's), except application/octet-stream: an editor for "any bytes"
    // would open everything that has no application of its own.
    static QStringList Candidates(const QString& mimeType);

    // The first of Candidates: the default application; empty when there is none.
    static QString For(const QString& mimeType);

    // The file of a desktop-file id, "kde-foo.desktop" being applications/kde/foo.desktop
    // too; the data folders in XDG order. Empty when it is not installed.
    static QString LocateEntry(const QString& id);
};
