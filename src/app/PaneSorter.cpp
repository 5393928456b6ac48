#include "app/PaneSorter.h"

#include "app/TDirData.h"
#include "core/TextOrder.h"

#include <cstdlib>
#include <utility>

namespace {

template <typename T>
int sign3(T a, T b) { return a < b ? -1 : (a > b ? 1 : 0); }

// The extension with its dot, upper-cased; empty when the name has none.
QString upperExtension(const QString& name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : AsciiUpper(name.mid(dot));
}

using Compare = int (*)(int mode, const TFileData&, const TFileData&);

// Hoare partitioning around the middle entry. Not stable. The smaller part is
// recursed into and the larger looped over, so the stack stays shallow on any input
// (the order of the parts does not change the result).
void quickSort(std::vector<std::unique_ptr<TFileData>>& items, int left, int right,
               Compare compare, int mode, int sign)
{
    while (left < right) {
        int i = left;
        int j = right;
        const TFileData* pivot = items[size_t((left + right) / 2)].get();
        do {
            while (sign * compare(mode, *items[size_t(i)], *pivot) < 0)
                ++i;
            while (sign * compare(mode, *items[size_t(j)], *pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(items[size_t(i)], items[size_t(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - left < right - i) {
            if (left < j)
                quickSort(items, left, j, compare, mode, sign);
            left = i;
        } else {
            if (i < right)
                quickSort(items, i, right, compare, mode, sign);
            right = j;
        }
    }
}

} // namespace

int PaneSorter::CompareNames(const TFileData& a, const TFileData& b)
{
    return CompareText(a.Name, b.Name);
}

int PaneSorter::CompareDirectories(int mode, const TFileData& a, const TFileData& b)
{
    int r = 0;
    switch (mode) {
    case SortBySize:
        r = sign3(std::llabs(a.Size), std::llabs(b.Size));
        break;
    case SortByTime:
        r = sign3(std::abs(int64_t(int32_t(a.Time))), std::abs(int64_t(int32_t(b.Time))));
        break;
    case SortByDesc:
        return CompareText(a.Description, b.Description);
    default:
        break;
    }
    return r != 0 ? r : CompareNames(a, b);
}

int PaneSorter::CompareFiles(int mode, const TFileData& a, const TFileData& b)
{
    int r = 0;
    switch (mode) {
    case SortBySize:
        r = sign3(a.Size, b.Size);
        break;
    case SortByType:
        r = CompareText(upperExtension(a.Name), upperExtension(b.Name));
        break;
    case SortByTime:
        r = sign3(int32_t(a.Time), int32_t(b.Time));
        break;
    case SortByDesc:
        return CompareText(a.Description, b.Description);
    default:
        break;
    }
    return r != 0 ? r : CompareNames(a, b);
}

void PaneSorter::SortPane(TDirData& pane, bool sortDirectories, bool sortFiles)
{
    const int mode = pane.SortMode();
    const int sign = pane.Ascending ? 1 : -1;
    int firstDir = 0;
    for (int i = 0; i < pane.DirCount; ++i) {
        if (pane.Item(i)->IsParent()) {
            std::swap(pane.Items[0], pane.Items[size_t(i)]);
            firstDir = 1;
            break;
        }
    }
    if (sortDirectories && pane.DirCount - 1 > firstDir)
        quickSort(pane.Items, firstDir, pane.DirCount - 1, &PaneSorter::CompareDirectories, mode, sign);
    const int firstFile = pane.DirCount;
    const int lastFile = pane.DirCount + pane.FileCount - 1;
    if (sortFiles && lastFile > firstFile)
        quickSort(pane.Items, firstFile, lastFile, &PaneSorter::CompareFiles, mode, sign);
}
