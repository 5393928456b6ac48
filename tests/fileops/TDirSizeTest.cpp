#include "fileops/TDirSize.h"

#include <gtest/gtest.h>

TEST(TDirSize, storeUpdatesInPlaceAndDropsTheOldestWhenFull)
{
    TDirSize cache;
    EXPECT_EQ(cache.Lookup("/a/"), -1);
    cache.Store("/a/", 10);
    cache.Store("/a/", 20);
    EXPECT_EQ(cache.Count(), 1u);
    EXPECT_EQ(cache.Lookup("/a/"), 20);
    // Names differing only in case are different folders here.
    EXPECT_EQ(cache.Lookup("/A/"), -1);

    for (int i = 0; i < int(TDirSize::kCapacity); ++i)
        cache.Store(QStringLiteral("/d%1").arg(i), i);
    EXPECT_EQ(cache.Count(), TDirSize::kCapacity);
    EXPECT_EQ(cache.Lookup("/a/"), -1) << "the oldest record goes first";
    EXPECT_EQ(cache.Lookup("/d0"), 0);
    EXPECT_EQ(cache.Lookup(QStringLiteral("/d%1").arg(TDirSize::kCapacity - 1)), int64_t(TDirSize::kCapacity - 1));
}
