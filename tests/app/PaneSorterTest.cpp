// Sorting of a pane's listing: groups never mix, ".." stays on top, volumes keep the
// volume list's order, and every mode orders by its own key with the name as tie-break.
#include "app/PaneSorter.h"

#include "AppTestSupport.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <algorithm>

namespace {

QStringList sorted(TDirData& pane, int mode, bool ascending)
{
    pane.SetSortMode(mode);
    pane.Ascending = ascending ? 1 : 0;
    PaneSorter::SortPane(pane, true, true);
    return EntryNames(pane);
}

// Checks both directions: descending is the exact reverse of each group.
void expectOrder(TDirData& pane, int mode, const QStringList& dirs, const QStringList& files)
{
    EXPECT_EQ(sorted(pane, mode, true), dirs + files);
    QStringList down = dirs + files;
    std::reverse(down.begin(), down.begin() + dirs.size());
    std::reverse(down.begin() + dirs.size(), down.end());
    EXPECT_EQ(sorted(pane, mode, false), down);
}

TEST(PaneSorter, groupsMixOrParentLeavesTopOrVolumesReorder)
{
    for (int mode = SortByName; mode <= SortByDesc; ++mode) {
        for (bool ascending : {true, false}) {
            TDirData pane(1);
            AddEntry(pane, fkDirectory, "zeta", 1);
            AddEntry(pane, fkDirectory, "..");
            AddEntry(pane, fkDirectory, "alpha", 900);
            AddEntry(pane, fkFile, "aaa.txt", 5);
            AddEntry(pane, fkFile, "zzz", 1);
            for (const char* volume : {"/zz", "/", "/aa"})
                AddEntry(pane, fkDrive, volume);
            sorted(pane, mode, ascending);
            SCOPED_TRACE(testing::Message() << "mode " << mode << " ascending " << ascending);
            EXPECT_EQ(pane.Item(0)->Name, "..");
            for (int i = 0; i < 5; ++i)
                EXPECT_EQ(pane.Item(i)->Kind, i < 3 ? fkDirectory : fkFile);
            EXPECT_EQ(EntryNames(pane).mid(5), (QStringList{"/zz", "/", "/aa"}));
        }
    }
}

TEST(PaneSorter, nameOrderIsCaseSensitive)
{
    TDirData pane(1);
    for (const char* name : {"b_dir", "B", "a"})
        AddEntry(pane, fkDirectory, name);
    for (const char* name : {"_under", "Zed", "apple", "Apple2"})
        AddEntry(pane, fkFile, name);
    expectOrder(pane, SortByName, {"a", "B", "b_dir"}, {"apple", "Apple2", "Zed", "_under"});
}

TEST(PaneSorter, sizeOrderMisplacesUnknownFolderOrTies)
{
    TDirData pane(1);
    AddEntry(pane, fkDirectory, "two", 2);
    AddEntry(pane, fkDirectory, "unknown", -1);   // sorts like one byte
    AddEntry(pane, fkDirectory, "empty", 0);
    AddEntry(pane, fkDirectory, "also1", 1);
    AddEntry(pane, fkFile, "x10", 10);
    AddEntry(pane, fkFile, "B5", 5);
    AddEntry(pane, fkFile, "a5", 5);
    AddEntry(pane, fkFile, "huge", int64_t(6) << 30);
    AddEntry(pane, fkFile, "neg", -3);            // files compare signed
    expectOrder(pane, SortBySize, {"empty", "also1", "unknown", "two"}, {"neg", "a5", "B5", "x10", "huge"});
}

TEST(PaneSorter, typeOrderUsesFolderExtensionsOrExtensionCase)
{
    TDirData pane(1);
    AddEntry(pane, fkDirectory, "b.aaa");
    AddEntry(pane, fkDirectory, "a.zzz");
    for (const char* name : {"b.TXT", "z.Doc", "a.txt", "noext", "c.doc", "x.tar.gz"})
        AddEntry(pane, fkFile, name);
    // Folders go by name even here; files by ".EXT", no extension first.
    expectOrder(pane, SortByType, {"a.zzz", "b.aaa"}, {"noext", "c.doc", "z.Doc", "x.tar.gz", "a.txt", "b.TXT"});
}

TEST(PaneSorter, timeOrderMisreadsStampsWithBit31)
{
    // Stamps from 2044 on set bit 31: files compare them as negative numbers, folders
    // by their absolute value.
    const uint32_t late = 0x90000000u;
    const uint32_t early = 0x10000000u;
    TDirData pane(1);
    AddEntry(pane, fkDirectory, "dlate", 0, late);
    AddEntry(pane, fkDirectory, "dearly2", 0, early);
    AddEntry(pane, fkDirectory, "dearly", 0, early);
    AddEntry(pane, fkFile, "fearly", 0, early);
    AddEntry(pane, fkFile, "flate", 0, late);
    AddEntry(pane, fkFile, "fmid", 0, 0x20000000u);
    expectOrder(pane, SortByTime, {"dearly", "dearly2", "dlate"}, {"flate", "fearly", "fmid"});
}

TEST(PaneSorter, descriptionOrderHonoursTextCase)
{
    TDirData pane(1);
    AddEntry(pane, fkDirectory, "d1").Description = "zz";
    AddEntry(pane, fkDirectory, "d2").Description = "AA";
    AddEntry(pane, fkFile, "f1").Description = "beta";
    AddEntry(pane, fkFile, "f2").Description = "";
    AddEntry(pane, fkFile, "f3").Description = "ALPHA";
    expectOrder(pane, SortByDesc, {"d2", "d1"}, {"f2", "f3", "f1"});
}

// Many equal keys and long runs are where a hand-written partition goes wrong.
TEST(PaneSorter, largeListingLosesEntriesOrEndsUnsorted)
{
    QRandomGenerator rng(1234);
    for (int mode : {SortByName, SortBySize, SortByTime, SortByDesc}) {
        for (bool ascending : {true, false}) {
            TDirData pane(1);
            for (int i = 0; i < 3000; ++i)
                AddEntry(pane, fkFile, QStringLiteral("f%1").arg(rng.bounded(500)), rng.bounded(20),
                         rng.bounded(8) << 28)
                    .Description = QStringLiteral("d%1").arg(rng.bounded(3));
            QStringList before = EntryNames(pane);
            QStringList after = sorted(pane, mode, ascending);
            before.sort();
            after.sort();
            ASSERT_EQ(before, after);
            for (int i = 1; i < pane.Count; ++i)
                ASSERT_LE((ascending ? 1 : -1) * PaneSorter::CompareFiles(mode, *pane.Item(i - 1), *pane.Item(i)), 0)
                    << "mode " << mode << " at " << i;
        }
    }
}

} // namespace
