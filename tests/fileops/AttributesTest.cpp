#include "CommandTestSupport.h"
#include "support/TempDir.h"

#include "fileops/AttributesCommand.h"
#include "fileops/TDlgAttributes.h"
#include "platform/FileAttributes.h"

#include <QCheckBox>
#include <QFile>
#include <gtest/gtest.h>
#include <set>
#include <sys/xattr.h>

namespace {

bool userXattrsWork(const QString& file)
{
    const QByteArray path = QFile::encodeName(file);
    if (::setxattr(path.constData(), "user.dorvane.probe", "1", 1, 0) != 0)
        return false;
    ::removexattr(path.constData(), "user.dorvane.probe");
    return true;
}

uint32_t attributesOf(const QString& path)
{
    uint32_t attr = 0;
    EXPECT_TRUE(ReadFileAttributes(path, &attr)) << path.toStdString();
    return attr;
}

std::vector<bool> hiddenOf(const std::vector<AttributeEntry>& entries)
{
    std::vector<bool> hidden;
    for (const AttributeEntry& entry : entries)
        hidden.push_back(attributesOf(entry.Path) & faHidden);
    return hidden;
}

} // namespace

TEST(AttributeSelection, onlyBoxesTheUserChangedChangeAnything)
{
    const AttributeSelection selection({faArchive, faArchive | faHidden, faArchive});
    EXPECT_EQ(selection.Initial().Hidden, Qt::PartiallyChecked);
    EXPECT_EQ(selection.Initial().Archive, Qt::Checked);
    EXPECT_EQ(selection.Initial().ReadOnly, Qt::Unchecked);
    EXPECT_EQ(selection.Masks(selection.Initial()), AttributeMasks{}) << "untouched boxes keep every bit";

    AttributeStates final = selection.Initial();
    final.Archive = Qt::Unchecked;
    final.ReadOnly = Qt::Checked;
    const AttributeMasks masks = selection.Masks(final);
    EXPECT_EQ(masks.Apply(faArchive | faHidden | faDirectory), uint32_t(faHidden | faDirectory | faReadOnly));
}

TEST(TDlgAttributes, onlyAMixedBoxCanBeClickedBackToMixed)
{
    TDlgAttributes dialog;
    AttributeStates states;
    states.Hidden = Qt::PartiallyChecked;
    states.Archive = Qt::Checked;
    dialog.SetStates(states);
    EXPECT_EQ(dialog.States(), states);

    auto* hidden = dialog.findChild<QCheckBox*>("CBHidden");
    auto* archive = dialog.findChild<QCheckBox*>("CBArchive");
    ASSERT_TRUE(hidden && archive);
    std::set<Qt::CheckState> seen;
    for (int i = 0; i < 3; ++i) {
        hidden->click();
        archive->click();
        seen.insert(hidden->checkState());
        EXPECT_NE(archive->checkState(), Qt::PartiallyChecked);
    }
    EXPECT_EQ(hidden->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(seen.size(), 3u);
}

// Three files, the middle one hidden: the box starts mixed; left mixed each keeps its
// state, checked hides all three, unchecked shows all three.
TEST(RunAttributesCommand, mixedHiddenBoxLeftCheckedOrUncheckedOnRealFiles)
{
    TempDir dir;
    std::vector<AttributeEntry> entries;
    for (const char* name : {"a", "b", "c"})
        entries.push_back({dir.makeFile(name, "x"), name, 0});
    if (!userXattrsWork(entries[1].Path) || !WriteFileAttributes(entries[1].Path, faHidden, nullptr))
        GTEST_SKIP() << "the temporary folder's file system keeps no user attributes";
    for (AttributeEntry& entry : entries)
        entry.Attributes = attributesOf(entry.Path);

    ScriptedUi ui;
    Qt::CheckState shown = Qt::Unchecked;
    auto answer = [&](Qt::CheckState state) {
        return [&shown, state](QDialog& dialog) {
            auto* box = dialog.findChild<QCheckBox*>("CBHidden");
            shown = box->checkState();
            box->setCheckState(state);
            return int(QDialog::Accepted);
        };
    };
    ui.Then(answer(Qt::PartiallyChecked));
    ui.Then(answer(Qt::Checked));
    ui.Then(answer(Qt::Unchecked));

    EXPECT_EQ(RunAttributesCommand(entries).size(), 3u);
    EXPECT_EQ(shown, Qt::PartiallyChecked);
    EXPECT_EQ(hiddenOf(entries), (std::vector<bool>{false, true, false}));
    const AttributeResults results = RunAttributesCommand(entries);
    EXPECT_EQ(hiddenOf(entries), (std::vector<bool>{true, true, true}));
    for (const std::optional<uint32_t>& result : results)
        EXPECT_TRUE(result && (*result & faHidden)) << "the pane gets the new attributes";
    RunAttributesCommand(entries);
    EXPECT_EQ(hiddenOf(entries), (std::vector<bool>{false, false, false}));
}

TEST(ApplyAttributes, failingEntriesAreReportedByNameAndDoNotStopTheOthers)
{
    TempDir dir;
    const QString first = dir.makeFile("first", "1");
    const QString last = dir.makeFile("last", "2");
    ScriptedUi ui;
    const AttributeResults results = ApplyAttributes(
        {{first, "first", 0}, {dir.filePath("gone"), "gone", 0}, {"/proc/self/status", "status", 0}, {last, "last", 0}},
        {~uint32_t(faReadOnly | faSysFile), faReadOnly | faSysFile});

    ASSERT_EQ(results.size(), 4u);
    EXPECT_FALSE(results[1].has_value());
    if (userXattrsWork(last)) {
        EXPECT_TRUE(results[0] && results[3]);
        // Read-only is the owner's write bit.
        EXPECT_FALSE(QFile::permissions(first) & QFileDevice::WriteOwner);
        EXPECT_FALSE(QFile::permissions(last) & QFileDevice::WriteOwner);
    }
    ASSERT_GE(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[0].kind, MsgKind::Warning);
    EXPECT_EQ(ui.Messages()[0].text, "An error occurred retrieving attributes for\ngone");
    EXPECT_EQ(ui.Messages()[1].text, "An error occurred setting attributes for\nstatus");
}

TEST(RunAttributesCommand, parentEntryInTheSelectionIsRefusedBeforeTheDialog)
{
    TempDir dir;
    ScriptedUi ui;   // no dialog scripted: showing one fails the test
    const QString file = dir.makeFile("f", "x");
    EXPECT_TRUE(RunAttributesCommand({{file, "f", 0}, {dir.filePath(".."), "..", faDirectory}}).empty());
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "Attributes are supported only for files and true directories.");
}
