// Where a pane goes on each move, worked out on its location alone (folder, zip
// depth, path inside the zip); the window then records and reads the new place.
#pragma once

#include <QString>

class TDirData;

class PaneMoves {
public:
    // A folder outside any zip.
    static void ToFolder(TDirData& pane, const QString& path);
    // The sub-folder `name` of the pane's folder, or of its place inside the zip.
    static void IntoFolder(TDirData& pane, const QString& name);
    // The top of the zip file `name` in the pane's folder.
    static void IntoZip(TDirData& pane, const QString& name);
    // One level up: the parent folder, the zip's parent folder inside it, or from the
    // zip's top level the folder holding the zip.
    static void ToParent(TDirData& pane);
    // The place `source` shows.
    static void SameAs(TDirData& target, const TDirData& source);
    static QString WithTrailingSlash(const QString& path);
};
