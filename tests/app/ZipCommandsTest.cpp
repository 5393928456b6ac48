// The window's zip commands over real zips, with the zip libraries and the
// self-extractor stub from beside the program: "To zip", "Convert ZIP to EXE",
// "Extract all ZIPs" and when the menu offers the last two.
#include "AppTestSupport.h"
#include "FormTestSupport.h"
#include "app/PaneListModel.h"
#include "fileops/TDlgNewDir.h"
#include "platform/TDlgOverwrite.h"
#include "support/TempDir.h"
#include "zip/TDlgExtractAllZips.h"
#include "zip/TDlgSfxZip.h"
#include "zip/TZipMaster.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>

namespace {

// Writes a zip of stored members through Python's zipfile: name, content pairs.
void makeZip(const QString& path, const QStringList& members)
{
    const QString script = QStringLiteral(
        "import sys, zipfile\n"
        "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
        "    a = sys.argv[2:]\n"
        "    for n, d in zip(a[::2], a[1::2]): z.writestr(n, d)\n");
    QProcess python;
    python.start("python3", QStringList{"-c", script, path} + members);
    ASSERT_TRUE(python.waitForFinished(20000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Both panes of a started window over l/ (active) and r/ without volume rows,
// questions answered Yes.
struct ZipCommandsForm {
    QStringList shown;
    IsolatedConfig config;
    TempDir dir;
    std::unique_ptr<TForm1> window;
    TForm1& form;
    TDirData& left;
    TDirData& right;

    ZipCommandsForm() : window((answerYes(), StartForm())), form(*window), left(form.Left()), right(form.Right())
    {
        form.Zip().SetDLLDirectory(DV_PROGRAM_DIR);
        form.Settings().ShowDrives = false;
        dir.makeDir("l");
        dir.makeDir("r");
        form.MoveTo(right, dir.filePath("r"), true);
        form.MoveTo(left, dir.filePath("l"), true);
    }
    ~ZipCommandsForm() { TMessages::SetResponder({}); }
    void answerYes()
    {
        TMessages::SetResponder([this](const MessageRequest& r) {
            shown << r.text;
            return r.buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Yes;
        });
    }
    QModelIndex indexOf(const TDirData& pane, const QString& name) const
    {
        for (int i = 0; i < pane.Count; ++i)
            if (pane.Item(i)->Name == name)
                return pane.Model->index(i);
        ADD_FAILURE() << "no row " << name.toStdString();
        return {};
    }
    // Selects the rows in the active left pane; the last one becomes the current row.
    void select(const QStringList& names)
    {
        form.ActivatePane(left);
        left.FileList->clearSelection();
        for (const QString& name : names) {
            left.FileList->selectionModel()->setCurrentIndex(indexOf(left, name), QItemSelectionModel::NoUpdate);
            left.FileList->selectionModel()->select(indexOf(left, name), QItemSelectionModel::Select);
        }
    }
};

TEST(ZipCommands, toZipMissesEmptyZipOrSelection)
{
    ZipCommandsForm f;
    f.dir.makeFile("l/a.txt", "alpha");
    f.dir.makeFile("l/b.txt", "beta");
    f.form.ReadDirectory(f.left);
    QStringList names{"empty", "pack"};
    ScriptedDialogs scripted([&](QDialog& d) {
        auto* dialog = qobject_cast<TDlgNewDir*>(&d);
        if (!dialog || names.isEmpty())
            return int(QDialog::Rejected);
        dialog->SetName(names.takeFirst());
        return int(QDialog::Accepted);
    });

    f.select({});
    f.form.BTNToZipClick();
    EXPECT_EQ(QFileInfo(f.dir.filePath("r/empty.ZIP")).size(), 22);
    EXPECT_EQ(f.right.Path, f.dir.filePath("r/empty.ZIP") + '/');
    EXPECT_EQ(f.right.ArchiveDepth, 1);
    EXPECT_EQ(EntryNames(f.right), QStringList{".."});

    f.form.MoveTo(f.right, f.dir.filePath("r"), true);
    f.select({"a.txt", "b.txt"});
    f.form.BTNToZipClick();
    EXPECT_EQ(f.right.Path, f.dir.filePath("r/pack.ZIP") + '/');
    EXPECT_EQ(EntryNames(f.right), (QStringList{"..", "a.txt", "b.txt"}));
    f.form.Zip().SetZipFileName(f.dir.filePath("r/pack.ZIP"));
    EXPECT_EQ(f.form.Zip().ExtractToMemory("b.txt").value_or("<none>"), "beta");
    EXPECT_TRUE(f.shown.isEmpty()) << f.shown.join('|').toStdString();
}

TEST(ZipCommands, convertedExeLacksTempDirOrDoesNotExtract)
{
    ZipCommandsForm f;
    makeZip(f.dir.filePath("l/a.zip"), {"docs/readme.txt", "read me"});
    f.form.ReadDirectory(f.left);
    f.select({"a.zip"});
    ScriptedDialogs scripted([](QDialog& d) {
        if (!qobject_cast<TDlgSfxZip*>(&d))
            return int(QDialog::Rejected);
        d.findChild<QLineEdit*>("EDCaption")->setText("Docs");
        d.findChild<QLineEdit*>("EDDefDirectory")->setText("/not/this/one");
        d.findChild<QCheckBox*>("CBUseTempDir")->setChecked(true);
        return int(QDialog::Accepted);
    });
    f.form.ConvertZIPdiEXE1Click();

    const QString exe = f.dir.filePath("l/a.exe");
    ASSERT_TRUE(QFileInfo::exists(exe)) << f.shown.join('|').toStdString();
    EXPECT_FALSE(QFileInfo::exists(f.dir.filePath("l/a.zip")));
    EXPECT_EQ(EntryNames(f.left), (QStringList{"..", "a.exe"}));

    // The settings block follows the stub: 8 fixed bytes, then length-prefixed texts.
    const QByteArray block = contentOf(exe).mid(QFileInfo(DV_PROGRAM_DIR "/ZIPSFX.BIN").size());
    ASSERT_TRUE(block.startsWith("MPV"));
    const int captionLength = uint8_t(block.at(8));
    EXPECT_EQ(block.mid(9, captionLength), "Docs");
    const int dirAt = 9 + captionLength;
    EXPECT_EQ(block.mid(dirAt + 1, uint8_t(block.at(dirAt))), "><");

    QProcess sfx;
    sfx.setStandardInputFile(QProcess::nullDevice());
    sfx.setProcessChannelMode(QProcess::MergedChannels);
    sfx.start(exe, {f.dir.filePath("out")});
    ASSERT_TRUE(sfx.waitForFinished(30000));
    EXPECT_EQ(contentOf(f.dir.filePath("out/docs/readme.txt")), "read me") << sfx.readAll().toStdString();
}

TEST(ZipCommands, extractAllDeletesBadArchiveOrStopsAtIt)
{
    ZipCommandsForm f;
    makeZip(f.dir.filePath("l/a.zip"), {"a/one.txt", "one"});
    makeZip(f.dir.filePath("l/b.zip"), {"two.txt", "hello world"});
    makeZip(f.dir.filePath("l/c.zip"), {"three.txt", "three"});
    QByteArray damaged = contentOf(f.dir.filePath("l/b.zip")).replace("hello world", "HELLO world");
    QFile b(f.dir.filePath("l/b.zip"));
    ASSERT_TRUE(b.open(QIODevice::WriteOnly) && b.write(damaged) == damaged.size());
    b.close();
    f.form.ReadDirectory(f.left);
    f.select({"a.zip", "b.zip", "c.zip"});

    QStringList rows;
    bool closeEnabled = false;
    ScriptedDialogs scripted([&](QDialog& d) {
        if (!qobject_cast<TDlgExtractAllZips*>(&d))
            return int(QDialog::Rejected);
        d.findChild<QPushButton*>("BTNExtract")->click();
        const auto* grid = d.findChild<QTableWidget*>("SGFiles");
        for (int row = 0; row < grid->rowCount(); ++row)
            rows << grid->item(row, 0)->text() + '=' + grid->item(row, 1)->text();
        closeEnabled = d.findChild<QPushButton*>("BTNClose")->isEnabled();
        return int(QDialog::Accepted);
    });
    f.form.ExtractallZIPs1Click();

    EXPECT_EQ(rows, (QStringList{"a.zip=Extracted and deleted", "b.zip=An error occurred while extracting!",
                                 "c.zip=Extracted and deleted"}));
    EXPECT_TRUE(closeEnabled);
    EXPECT_EQ(EntryNames(f.left), (QStringList{"..", "b.zip"}));
    EXPECT_EQ(contentOf(f.dir.filePath("r/a/one.txt")), "one");
    EXPECT_EQ(contentOf(f.dir.filePath("r/three.txt")), "three");
    EXPECT_FALSE(QFileInfo::exists(f.dir.filePath("r/two.txt")));
    EXPECT_EQ(EntryNames(f.right), (QStringList{"..", "a", "three.txt"}));
}

TEST(ZipCommands, extractAllReplacesUnaskedAndDeletesWhatItReplaced)
{
    ZipCommandsForm f;
    makeZip(f.dir.filePath("l/a.zip"), {"readme.txt", "from a", "a.txt", "a"});
    makeZip(f.dir.filePath("l/b.zip"), {"readme.txt", "from b"});
    makeZip(f.dir.filePath("l/c.zip"), {"notes.txt", "from c"});
    f.dir.makeFile("r/notes.txt", "mine");
    f.form.ReadDirectory(f.left);
    f.select({"a.zip", "b.zip", "c.zip"});

    // b's readme replaces a's, c's notes do not replace the user's.
    QStringList asked;
    ScriptedDialogs scripted([&](QDialog& d) {
        if (qobject_cast<TDlgExtractAllZips*>(&d)) {
            d.findChild<QPushButton*>("BTNExtract")->click();
            return int(QDialog::Accepted);
        }
        asked << d.objectName() + ':' + d.findChild<QLabel*>("LBText")->text();
        return int(asked.size() == 1 ? OverwriteYes : OverwriteNo);
    });
    f.form.ExtractallZIPs1Click();

    EXPECT_EQ(asked, (QStringList{"TDlgOverwrite:This folder already contains a file named \"readme.txt\".",
                                  "TDlgOverwrite:This folder already contains a file named \"notes.txt\"."}));
    EXPECT_EQ(contentOf(f.dir.filePath("r/readme.txt")), "from b");
    EXPECT_EQ(contentOf(f.dir.filePath("r/notes.txt")), "mine");
    // a's readme stands nowhere else; c's notes were never written.
    EXPECT_EQ(EntryNames(f.left), (QStringList{"..", "a.zip", "c.zip"}));
}

TEST(ZipCommands, zipItemsOfferedForWrongSelection)
{
    ZipCommandsForm f;
    makeZip(f.dir.filePath("l/a.zip"), {"x", "x"});
    makeZip(f.dir.filePath("l/B.ZIP"), {"inner.zip", "x"});
    f.dir.makeFile("l/c.txt");
    f.form.ReadDirectory(f.left);
    auto* utility = f.form.findChild<QMenu*>("Utility");
    auto* convert = f.form.findChild<QAction*>("ConvertZIPdiEXE1");
    auto* extract = f.form.findChild<QAction*>("ExtractallZIPs1");
    ASSERT_TRUE(utility && convert && extract);
    const auto offered = [&] {
        Q_EMIT utility->aboutToShow();
        return QString::number(convert->isEnabled()) + QString::number(extract->isEnabled());
    };

    f.select({"a.zip"});
    EXPECT_EQ(offered(), "11");
    f.select({"a.zip", "B.ZIP"});
    EXPECT_EQ(offered(), "01");
    f.select({"a.zip", "c.txt"});
    EXPECT_EQ(offered(), "00");
    f.select({"a.zip"});
    f.left.FileList->selectionModel()->setCurrentIndex(f.indexOf(f.left, "c.txt"), QItemSelectionModel::NoUpdate);
    EXPECT_EQ(offered(), "01");

    f.form.MoveTo(f.left, f.dir.filePath("l/B.ZIP") + '/', true);
    f.left.ArchiveDepth = 1;
    f.form.ReadDirectory(f.left);
    f.select({"inner.zip"});
    EXPECT_EQ(offered(), "00");
}

} // namespace
