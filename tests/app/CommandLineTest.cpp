// The start-up switches: install and remove only as the single argument, minimize
// wherever it stands, a leading "/" counting as "-" for it.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, minimizeSwitchMissedBesideOtherArguments)
{
    for (const QStringList& args : {QStringList{"-MIN"}, QStringList{"-min"}, QStringList{"/min"},
                                    QStringList{"/MiN"}, QStringList{"file.txt", "-min", "x"}}) {
        const CommandLine cmd = CommandLine::Parse(args);
        EXPECT_TRUE(cmd.minimize) << args.join(' ').toStdString();
        EXPECT_EQ(cmd.action, StartAction::None);
    }
    for (const QStringList& args : {QStringList{}, QStringList{"-minimize"}, QStringList{"min"},
                                    QStringList{"--min"}, QStringList{"//min"}}) {
        EXPECT_FALSE(CommandLine::Parse(args).minimize) << args.join(' ').toStdString();
    }
}

TEST(CommandLine, installOrRemoveRunsWithOtherArguments)
{
    EXPECT_EQ(CommandLine::Parse({"-INSTALL"}).action, StartAction::Install);
    EXPECT_EQ(CommandLine::Parse({"-install"}).action, StartAction::Install);
    EXPECT_EQ(CommandLine::Parse({"-Remove"}).action, StartAction::Remove);
    // The "/" form is taken for the minimize switch alone.
    EXPECT_EQ(CommandLine::Parse({"/INSTALL"}).action, StartAction::None);
    EXPECT_EQ(CommandLine::Parse({"/remove"}).action, StartAction::None);
    EXPECT_EQ(CommandLine::Parse({"-INSTALL", "-MIN"}).action, StartAction::None);
    EXPECT_TRUE(CommandLine::Parse({"-INSTALL", "-MIN"}).minimize);
    EXPECT_EQ(CommandLine::Parse({"-REMOVE", "x"}).action, StartAction::None);

    EXPECT_TRUE(CommandLine::IsSingleRemove({"-remove"}));
    EXPECT_TRUE(CommandLine::IsSingleRemove({"-REMOVE"}));
    EXPECT_FALSE(CommandLine::IsSingleRemove({"-REMOVE", "-REMOVE"}));
    EXPECT_FALSE(CommandLine::IsSingleRemove({"/REMOVE"}));
    EXPECT_FALSE(CommandLine::IsSingleRemove({}));
    EXPECT_FALSE(CommandLine::IsSingleRemove({"-INSTALL"}));
}

} // namespace
