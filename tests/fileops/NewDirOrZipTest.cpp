#include "CommandTestSupport.h"
#include "support/TempDir.h"

#include "fileops/NewDirOrZip.h"
#include "fileops/TDlgNewDir.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

QLineEdit* nameEdit(QDialog& dialog) { return dialog.findChild<QLineEdit*>("EDName"); }
QCheckBox* zipBox(QDialog& dialog) { return dialog.findChild<QCheckBox*>("CBZip"); }

// A user typing `name`, checking "Create zip" when asked, and pressing OK.
ScriptedUi::DialogStep type(const QString& name, bool zip = false)
{
    return [name, zip](QDialog& dialog) {
        nameEdit(dialog)->setText(name);
        if (zip)
            zipBox(dialog)->setChecked(true);
        return int(QDialog::Accepted);
    };
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kEmptyZip = QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0');

} // namespace

TEST(TDlgNewDir, typingAZipNameChecksCreateZipButNeverUnchecksIt)
{
    TDlgNewDir dialog;
    ASSERT_TRUE(nameEdit(dialog) && zipBox(dialog));
    nameEdit(dialog)->setText("notes.zipx");
    EXPECT_FALSE(zipBox(dialog)->isChecked());
    nameEdit(dialog)->setText("Notes.ZiP");
    EXPECT_TRUE(zipBox(dialog)->isChecked());
    nameEdit(dialog)->setText("Notes");
    EXPECT_TRUE(zipBox(dialog)->isChecked());

    TDlgNewDir zipOnly;
    zipOnly.SetZipOnly();
    EXPECT_TRUE(zipBox(zipOnly)->isChecked() && !zipBox(zipOnly)->isEnabled());
}

TEST(CreateDirOrZip, zipGetsZipAppendedUnlessTypedInAnyCaseAndHoldsAnEmptyArchive)
{
    TempDir dir;
    const QString emptyZip = dir.makeFile("template/empty.zip", kEmptyZip);
    ScriptedUi ui;
    ui.Then(type("backup", true));
    ui.Then(type("Photos.Zip"));   // the typed extension checks "Create zip" by itself

    const QString backup = CreateDirOrZip(dir.path(), false, emptyZip);
    EXPECT_EQ(backup, dir.path() + "/backup.ZIP");
    EXPECT_EQ(readAll(backup), kEmptyZip);
    EXPECT_EQ(CreateDirOrZip(dir.path() + "/", false, emptyZip), dir.path() + "/Photos.Zip");
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(CreateDirOrZip, existingZipIsNotOverwrittenAndTheDialogReturnsWithTheTextKept)
{
    TempDir dir;
    const QString existing = dir.makeFile("old.zip", "precious");
    ScriptedUi ui;
    ui.Then(type("old.zip"));
    QString textOnSecondShow;
    ui.Then([&](QDialog& dialog) {
        textOnSecondShow = nameEdit(dialog)->text();
        return int(QDialog::Rejected);
    });

    EXPECT_EQ(CreateDirOrZip(dir.path(), true, dir.makeFile("empty.zip", kEmptyZip)), QString());
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].kind, MsgKind::Warning);
    EXPECT_EQ(ui.Messages()[0].text, "Unable to create zip " + dir.path() + "/old.zip.");
    EXPECT_EQ(textOnSecondShow, "old.zip");
    EXPECT_EQ(readAll(existing), "precious");
}

TEST(CreateDirOrZip, folderThatCannotBeMadeIsReportedUntilANameWorks)
{
    TempDir dir;
    dir.makeDir("exists");
    ScriptedUi ui;
    ui.Then(type("exists"));
    ui.Then(type("missing/child"));   // no parents are made, no other folder is reached
    ui.Then(type(""));
    ui.Then(type("fresh"));

    const QString made = CreateDirOrZip(dir.path(), false, QString());
    EXPECT_EQ(made, dir.path() + "/fresh");
    EXPECT_TRUE(QFileInfo(made).isDir());
    EXPECT_FALSE(QFile::exists(dir.filePath("missing")));
    ASSERT_EQ(ui.Messages().size(), 3u);
    EXPECT_EQ(ui.Messages()[0].text, "Unable to create " + dir.path() + "/exists.");
    EXPECT_EQ(ui.Messages()[1].text, "Unable to create " + dir.path() + "/missing/child.");
    EXPECT_EQ(ui.Messages()[2].text, "Unable to create " + dir.path() + "/.");
}

TEST(CreateDirOrZip, zipWithoutItsTemplateIsReportedAndNothingIsLeft)
{
    TempDir dir;
    ScriptedUi ui;
    ui.Then(type("fresh.zip"));
    ui.Then([](QDialog&) { return int(QDialog::Rejected); });

    EXPECT_EQ(CreateDirOrZip(dir.path(), true, dir.filePath("gone.zip")), QString());
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "Unable to create zip " + dir.path() + "/fresh.zip.");
    EXPECT_FALSE(QFile::exists(dir.filePath("fresh.zip")));
}
