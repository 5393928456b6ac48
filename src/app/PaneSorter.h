// Sorting of a pane's listing: folders and files are sorted separately, never mixed,
// ".." stays first and volumes keep the volume list's order.
#pragma once

class TDirData;
struct TFileData;

enum PaneSortMode { SortByName = 0, SortBySize = 1, SortByType = 2, SortByTime = 3, SortByDesc = 4 };

class PaneSorter {
public:
    // Sorts the folder and/or the file group by the pane's sort mode and direction.
    // The caller clears the list's selection afterwards.
    static void SortPane(TDirData& pane, bool sortDirectories, bool sortFiles);

    static int CompareNames(const TFileData& a, const TFileData& b);
    static int CompareDirectories(int mode, const TFileData& a, const TFileData& b);
    static int CompareFiles(int mode, const TFileData& a, const TFileData& b);
};
