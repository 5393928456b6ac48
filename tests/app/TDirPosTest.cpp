// A pane's position memory: the 50-record bound, which record goes when it is full,
// and exact key comparison (folders differing in case are different folders).
#include "app/TDirPos.h"

#include "AppTestSupport.h"

#include <gtest/gtest.h>

namespace {

QString keyOf(int i) { return QStringLiteral("/d%1/").arg(i); }

TEST(TDirPos, fullMemoryDropsWrongRecord)
{
    TDirPos memory;
    for (int i = 0; i < 50; ++i)
        memory.Store(keyOf(i), i, i + 1);
    EXPECT_EQ(memory.Count(), 50u);
    memory.Store(keyOf(50), 7, 8);
    EXPECT_EQ(memory.Count(), 50u);
    EXPECT_FALSE(memory.Find(keyOf(0)).has_value());    // the oldest
    for (int i : {1, 49, 50})
        EXPECT_TRUE(memory.Find(keyOf(i)).has_value()) << i;
    const auto r = memory.Find(keyOf(50));
    ASSERT_TRUE(r);
    EXPECT_EQ(std::make_pair(r->TopRow, r->CurrentRow), std::make_pair(7, 8));
}

TEST(TDirPos, storingKnownKeyMovesOrDuplicatesIt)
{
    TDirPos memory;
    for (int i = 0; i < 50; ++i)
        memory.Store(keyOf(i), 0, 0);
    memory.Store(keyOf(0), 11, 12);                      // updated where it stands: still the oldest
    EXPECT_EQ(memory.Count(), 50u);
    const auto updated = memory.Find(keyOf(0));
    ASSERT_TRUE(updated);
    EXPECT_EQ(std::make_pair(updated->TopRow, updated->CurrentRow), std::make_pair(11, 12));
    memory.Store(keyOf(50), 0, 0);
    EXPECT_FALSE(memory.Find(keyOf(0)).has_value());
    EXPECT_TRUE(memory.Find(keyOf(1)).has_value());
}

TEST(TDirPos, lookupFoldsCase)
{
    TDirPos memory;
    memory.Store("/tmp/Docs/", 1, 2);
    memory.Store("/tmp/docs/", 3, 4);
    EXPECT_EQ(memory.Count(), 2u);
    EXPECT_EQ(memory.Find("/tmp/Docs/")->CurrentRow, 2);
    EXPECT_EQ(memory.Find("/tmp/docs/")->CurrentRow, 4);
    EXPECT_FALSE(memory.Find("/tmp/DOCS/").has_value());
    EXPECT_FALSE(memory.Find("/tmp/Docs").has_value());
}

} // namespace
