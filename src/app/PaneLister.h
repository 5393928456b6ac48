// Fills a pane's entries from a real folder: the listing steps of a re-read without
// any widget work, so they can be tested and measured on their own.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

class TDirData;

struct ListingOptions {
    bool HideHidden = false;
    bool HideExtra = false;
    bool HideDescription = true;
    bool ShowDrives = true;
};

struct ListingInputs {
    QString Filter = QStringLiteral("*");   // applies to files only
    ListingOptions Options;
    QStringList Drives;                       // volume texts, in the drive list's order
    QHash<QString, QString> Descriptions;     // AsciiUpper(name) -> description
    // Cached size of a folder (full path), -1 when not cached.
    std::function<qint64(const QString&)> CachedSize;
};

class PaneLister {
public:
    // Lists pane.Path (which must end with '/') into pane.Items, replacing what was
    // there, and rebuilds pane.FilterMasks. A folder of more than kMaxPaneItems
    // entries keeps ".." and the first ones by name, folders before files, and sets
    // pane.Truncated. Returns false when the folder could not be read: the listing is
    // then empty apart from the volumes, and pane.ReadError says why.
    static bool ListFolder(TDirData& pane, const ListingInputs& in);

    // Appends one volume entry per drive text while there is room.
    static void AppendDrives(TDirData& pane, const QStringList& drives);
};
