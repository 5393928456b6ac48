#include "fileops/PendingOperations.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

std::optional<uint16_t> launch(PendingOperations& table, const QString& sourceDir = "/s/")
{
    TShellFileOpRecord record;
    record.Source = {sourceDir + "f"};
    record.Target = QStringLiteral("/t/");
    return table.Launch(record, sourceDir, "/t/");
}

std::vector<uint16_t> idsOf(const PendingOperations& table)
{
    std::vector<uint16_t> ids;
    for (int i = 0; i < table.Count(); ++i)
        ids.push_back(table.At(i).Id);
    return ids;
}

} // namespace

TEST(PendingOperations, identifiersAreConsecutiveWrapAfter65535AndSkipPendingOnes)
{
    PendingOperations table;
    EXPECT_EQ(launch(table), 1);
    EXPECT_EQ(launch(table), 2);
    EXPECT_EQ(launch(table), 3);
    ASSERT_TRUE(table.Complete(2));
    table.SetLastIdForTest(1);
    EXPECT_EQ(launch(table), 2) << "a freed identifier is used again";
    EXPECT_EQ(launch(table), 4) << "3 is still pending";

    PendingOperations wrapping;
    wrapping.SetLastIdForTest(65534);
    EXPECT_EQ(launch(wrapping), 65535);
    EXPECT_EQ(launch(wrapping), 0);
    wrapping.SetLastIdForTest(65534);
    EXPECT_EQ(launch(wrapping), 1) << "65535 and 0 are pending";
    EXPECT_EQ(wrapping.LastId(), 1);
}

TEST(PendingOperations, thirtyFirstLaunchIsRefusedAndLeavesTheTableAsItWas)
{
    PendingOperations table;
    for (int i = 0; i < PendingOperations::kSlots; ++i)
        ASSERT_TRUE(launch(table).has_value());
    const std::vector<uint16_t> before = idsOf(table);

    EXPECT_FALSE(launch(table).has_value());
    EXPECT_EQ(table.LastId(), 30);
    EXPECT_EQ(idsOf(table), before);
}

TEST(PendingOperations, completionOfTheMiddleOperationKeepsTheOthersInLaunchOrder)
{
    PendingOperations table;
    launch(table, "/one/");
    QWidget window;
    TShellFileOpRecord record;
    record.Owner = &window;
    record.Source = {QStringLiteral("/two/\u00fc")};   // 7 bytes in UTF-8
    table.Launch(record, "/two/", "/t/");
    launch(table, "/three/");
    // The background copy has no owner window; lengths are bytes of "path\0\0".
    EXPECT_EQ(table.At(1).Operation.Owner, nullptr);
    EXPECT_EQ(table.At(1).SourceLength, 7 + 1 + 1);

    ASSERT_TRUE(table.Complete(2));
    EXPECT_EQ(idsOf(table), (std::vector<uint16_t>{1, 3}));
    EXPECT_EQ(table.At(0).SourceDir, "/one/");
    EXPECT_EQ(table.At(1).SourceDir, "/three/");
    EXPECT_EQ(table.At(1).Operation.Source, QStringList{"/three/f"});

    EXPECT_FALSE(table.Complete(2)) << "an identifier nobody holds";
    EXPECT_EQ(idsOf(table), (std::vector<uint16_t>{1, 3}));
}
