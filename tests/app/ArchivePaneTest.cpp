// A pane inside a zip archive: the rows each folder of the archive shows, and a started
// window entering, leaving and going back and forth through real zips.
#include "app/ArchiveLister.h"

#include "AppTestSupport.h"
#include "FormTestSupport.h"
#include "app/PaneListModel.h"
#include "support/TempDir.h"
#include "viewers/ItemHintWindow.h"
#include "viewers/ViewerHost.h"
#include "platform/TDlgOverwrite.h"
#include "zip/TZipMaster.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QListView>
#include <QProcess>
#include <QProgressBar>

namespace {

ZipDirEntry member(const QString& name, uint64_t size = 0)
{
    ZipDirEntry e;
    e.FileName = name;
    e.UncompressedSize = size;
    return e;
}

// Lists the folder `place` of the archive and returns the names in listing order.
QStringList listAt(TDirData& pane, const std::vector<ZipDirEntry>& members, const QString& place,
                   const ArchiveListingInputs& in = {})
{
    pane.ArchiveDepth = 1;
    pane.ArchivePath = place;
    ArchiveLister::List(pane, ArchiveMembers::Of(members), in);
    return EntryNames(pane);
}

const TFileData* find(const TDirData& pane, const QString& name)
{
    for (int i = 0; i < pane.Count; ++i)
        if (pane.Item(i)->Name == name)
            return pane.Item(i);
    return nullptr;
}

TEST(ArchiveLister, nestedMemberMissingOrWrongAtSomeLevel)
{
    TDirData pane(1);
    ZipDirEntry c = member("a/b/c.txt", 5);
    c.DosDate = 0x5A21;
    c.DosTime = 0x6C12;
    c.FileComment = "the c";
    const std::vector<ZipDirEntry> zip{c};

    ArchiveListingInputs in;
    in.ZipTime = 0x12345678;
    EXPECT_EQ(listAt(pane, zip, "", in), (QStringList{"..", "a"}));
    EXPECT_EQ(pane.Item(0)->Time, 0x12345678u);
    EXPECT_EQ(pane.Item(0)->Size, -1);
    EXPECT_EQ(pane.Item(1)->Size, 5);
    EXPECT_EQ(pane.Item(1)->SizeKnown, 1);
    EXPECT_EQ(pane.Item(1)->Time, 0x5A216C12u);
    EXPECT_EQ(pane.DirCount, 2);
    EXPECT_EQ(pane.FileCount, 0);

    EXPECT_EQ(listAt(pane, zip, "a/"), (QStringList{"..", "b"}));
    EXPECT_EQ(listAt(pane, zip, "a/b/"), (QStringList{"..", "c.txt"}));
    const TFileData& file = *pane.Item(1);
    EXPECT_EQ(file.Kind, fkFile);
    EXPECT_EQ(file.Time, 0x5A216C12u);
    EXPECT_EQ(file.Size, 5);
    EXPECT_EQ(file.Description, "the c");
    EXPECT_EQ(pane.FileCount, 1);
}

TEST(ArchiveLister, folderSplitByCaseOrSizeCutAt32Bits)
{
    TDirData pane(1);
    const uint64_t big = 5ull << 30;
    const std::vector<ZipDirEntry> zip{member("Docs/"), member("docs/x.txt", 3), member("DOCS/sub/y.iso", big)};
    EXPECT_EQ(listAt(pane, zip, ""), (QStringList{"..", "Docs"}));
    EXPECT_EQ(pane.Item(1)->Size, int64_t(big) + 3);
    QStringList inside = listAt(pane, zip, "dOCS/");
    inside.sort();
    EXPECT_EQ(inside, (QStringList{"..", "sub", "x.txt"}));
    EXPECT_EQ(find(pane, "sub")->Size, int64_t(big));
}

TEST(ArchiveLister, filterMasksOrHiddenMembersWrong)
{
    TDirData pane(1);
    const std::vector<ZipDirEntry> zip{member("b.TXT"), member("a.dat"), member("README"), member(".hidden.txt"),
                                       member("sub/z.png"), member(".git/config")};
    ArchiveListingInputs in;
    in.Filter = "*.txt";
    in.HideHidden = true;
    EXPECT_EQ(listAt(pane, zip, "", in), (QStringList{"..", "sub", "b.TXT"}));
    EXPECT_EQ(pane.FilterMasks, (QStringList{"*", "*.dat", "*.txt"}));
}

TEST(ArchiveLister, hostileNamesMakeEmptyOrParentRows)
{
    TDirData pane(1);
    const std::vector<ZipDirEntry> zip{member("/abs.txt"), member("a//b.txt"), member("../evil.txt"), member("x/..")};
    EXPECT_EQ(listAt(pane, zip, ""), (QStringList{"..", "x", "a"}));
    EXPECT_EQ(listAt(pane, zip, "a/"), (QStringList{".."}));
    EXPECT_EQ(listAt(pane, zip, "x/"), (QStringList{".."}));
}

TEST(ArchiveLister, crowdedFolderLosesParentOrKeepsRandomRows)
{
    TDirData pane(1);
    std::vector<ZipDirEntry> zip;
    for (int i = kMaxPaneItems + 9; i >= 0; --i)
        zip.push_back(member(QStringLiteral("f%1").arg(i, 6, 10, QLatin1Char('0'))));
    int reported = 0;
    ArchiveListingInputs in;
    in.Progress = [&reported](int done) { reported = done; };
    listAt(pane, zip, "", in);
    EXPECT_EQ(reported, int(zip.size()));
    EXPECT_TRUE(pane.Truncated);
    EXPECT_EQ(pane.Count, kMaxPaneItems);
    EXPECT_TRUE(pane.Item(0)->IsParent());
    EXPECT_NE(find(pane, "f000000"), nullptr);
    EXPECT_EQ(find(pane, QStringLiteral("f%1").arg(kMaxPaneItems + 9, 6, 10, QLatin1Char('0'))), nullptr);
}

// Writes a zip through Python's zipfile: members as name, content pairs (a name ending
// in '/' is a folder entry) and the archive comment.
void makeZip(const QString& path, const QStringList& members, const QString& comment = {})
{
    const QString script = QStringLiteral(
        "import sys, zipfile\n"
        "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
        "    z.comment = sys.argv[2].encode()\n"
        "    a = sys.argv[3:]\n"
        "    for n, d in zip(a[::2], a[1::2]): z.writestr(n, d)\n");
    QProcess python;
    python.start("python3", QStringList{"-c", script, path, comment} + members);
    ASSERT_TRUE(python.waitForFinished(20000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
}

// A started window over a folder holding t.ZIP (a/b/c.txt, top.txt), other.txt, zz/.
struct ZipForm {
    CapturedMessages messages;
    IsolatedConfig config;
    TempDir dir;
    std::unique_ptr<TForm1> window = StartForm();
    TForm1& form = *window;
    TDirData& left = form.Left();

    ZipForm()
    {
        dir.makeDir("zz");
        dir.makeFile("other.txt", "x");
        makeZip(dir.filePath("t.ZIP"), {"a/b/c.txt", "hello", "top.txt", "t"}, "made for the test");
        form.MoveTo(left, dir.path(), true);
    }
    QString currentName() const
    {
        const int row = left.FileList->currentIndex().row();
        return row >= 0 && row < left.Count ? left.Item(row)->Name : QString();
    }
    int rowOf(const QString& name) const
    {
        for (int i = 0; i < left.Count; ++i)
            if (left.Item(i)->Name == name)
                return i;
        return -1;
    }
    void makeCurrent(const QString& name)
    {
        left.FileList->setCurrentIndex(left.Model->index(rowOf(name)));
        ASSERT_EQ(currentName(), name);
    }
    void activate(const QString& name)
    {
        makeCurrent(name);
        form.ActivateItem(left);
    }
    QStringList hintLines(const QString& name)
    {
        const QPoint at = left.FileList->visualRect(left.Model->index(rowOf(name))).center();
        QHelpEvent help(QEvent::ToolTip, at, left.FileList->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(left.FileList->viewport(), &help);
        ItemHintWindow* hint = ItemHintWindow::Current();
        const QStringList lines = hint ? hint->accessibleName().split('\r') : QStringList();
        ItemHintWindow::Hide();
        return lines;
    }
};

TEST(ArchivePane, zipNotEnteredOrLeftAtWrongPlace)
{
    ZipForm f;
    const QString folder = f.dir.path() + '/';
    f.activate("t.ZIP");
    EXPECT_EQ(f.left.Path, folder + "t.ZIP/");
    EXPECT_EQ(f.left.ArchiveDepth, 1);
    EXPECT_EQ(EntryNames(f.left).mid(0, 3), (QStringList{"..", "a", "top.txt"}));
    EXPECT_EQ(f.left.Item(0)->Time, ArchiveLister::PackedFileTime(f.dir.filePath("t.ZIP")));
    EXPECT_TRUE(f.left.PathLabel->text().endsWith("t.ZIP/"));
    EXPECT_FALSE(f.left.Gauge->isVisible());
    EXPECT_EQ(f.left.Gauge->maximum(), 2);

    f.activate("a");
    f.activate("b");
    EXPECT_EQ(f.left.ArchivePath, "a/b/");
    EXPECT_EQ(find(f.left, "c.txt")->Size, 5);
    EXPECT_TRUE(f.left.PathLabel->text().endsWith("t.ZIP/a/b/"));
    f.activate("..");
    EXPECT_EQ(f.left.ArchivePath, "a/");
    EXPECT_EQ(f.currentName(), "b");
    f.activate("..");
    f.activate("..");
    EXPECT_EQ(f.left.Path, folder);
    EXPECT_EQ(f.left.ArchiveDepth, 0);
    EXPECT_EQ(f.currentName(), "t.ZIP");

    f.form.NavBackClick();
    EXPECT_EQ(f.left.ArchiveDepth, 1);
    EXPECT_EQ(f.left.ArchivePath, "");
    f.form.NavBackClick();
    EXPECT_EQ(f.left.ArchivePath, "a/");
    EXPECT_EQ(EntryNames(f.left).mid(0, 2), (QStringList{"..", "b"}));
    f.form.NavForwardClick();
    f.form.NavForwardClick();
    EXPECT_EQ(f.left.Path, folder);
    EXPECT_EQ(f.left.ArchiveDepth, 0);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(ArchivePane, startedInsideZipLeavesOffZipRow)
{
    ZipForm f;
    f.makeCurrent("zz");
    f.form.Leave(f.left);   // the folder's remembered row is zz
    f.left.Path = f.dir.filePath("t.ZIP") + '/';
    f.left.ArchiveDepth = 1;
    f.left.ArchivePath.clear();
    f.form.ReadDirectory(f.left);
    f.form.GoParentButton(f.left);
    EXPECT_EQ(f.left.Path, f.dir.path() + '/');
    EXPECT_EQ(f.currentName(), "t.ZIP");
}

TEST(ArchivePane, hintMissesZipCommentOrReadsMembersFromDisk)
{
    ZipForm f;
    EXPECT_FALSE(f.hintLines("t.ZIP").contains("Zip comment:"));
    f.form.Settings().ShowZipComment = true;
    const QStringList lines = f.hintLines("t.ZIP");
    const int at = int(lines.indexOf("Zip comment:"));
    ASSERT_GE(at, 0) << lines.join('|').toStdString();
    EXPECT_EQ(lines.value(at + 1), "made for the test");

    f.activate("t.ZIP");
    f.activate("a");
    f.activate("b");
    const QStringList member = f.hintLines("c.txt");
    EXPECT_EQ(member.value(0), "c.txt");
    EXPECT_TRUE(member.contains("Size : 5 bytes")) << member.join('|').toStdString();
}

// Both panes of a started window, the left one inside t.ZIP, the right one in r/, with
// every question answered Yes and the zip libraries taken from beside the program.
struct ZipOpsForm {
    QStringList asked;
    IsolatedConfig config;
    TempDir dir;
    std::unique_ptr<TForm1> window;
    TForm1& form;

    ZipOpsForm() : window((answerYes(), StartForm())), form(*window)
    {
        form.Zip().SetDLLDirectory(DV_PROGRAM_DIR);
        dir.makeFile("r/new.txt", "fresh");
        makeZip(dir.filePath("t.ZIP"), {"a/b/c.txt", "hello", "top.txt", "t"});
        form.MoveTo(form.Right(), dir.filePath("r"), true);
        form.MoveTo(form.Left(), dir.filePath("t.ZIP") + '/', true);
        form.Left().ArchiveDepth = 1;
        form.ReadDirectory(form.Left());
    }
    ~ZipOpsForm() { TMessages::SetResponder({}); }
    void answerYes()
    {
        TMessages::SetResponder([this](const MessageRequest& r) {
            asked << r.text;
            return r.buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Yes;
        });
    }
    void select(TDirData& pane, const QString& name)
    {
        form.ActivatePane(pane);
        pane.FileList->clearSelection();
        for (int i = 0; i < pane.Count; ++i)
            if (pane.Item(i)->Name == name) {
                pane.FileList->setCurrentIndex(pane.Model->index(i));
                pane.FileList->selectionModel()->select(pane.Model->index(i), QItemSelectionModel::ClearAndSelect);
            }
    }
};

TEST(ArchivePane, windowCopiesDeletesAndViewsInsideZips)
{
    ZipOpsForm f;
    f.select(f.form.Left(), "top.txt");
    f.form.BTNCopyClick();
    QFile copied(f.dir.filePath("r/top.txt"));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), "t");

    // Into the folder the zip pane shows, and deleted from there again.
    f.form.Left().ArchivePath = "a/";
    f.form.ReadDirectory(f.form.Left());
    f.select(f.form.Right(), "new.txt");
    f.form.BTNCopyClick();
    EXPECT_TRUE(EntryNames(f.form.Left()).contains("new.txt"));
    f.select(f.form.Left(), "new.txt");
    f.form.BTNDeleteClick();
    EXPECT_FALSE(EntryNames(f.form.Left()).contains("new.txt"));
    EXPECT_TRUE(QFile::exists(f.dir.filePath("r/new.txt")));

    f.form.Left().ArchivePath.clear();
    f.form.ReadDirectory(f.form.Left());
    f.select(f.form.Left(), "top.txt");
    f.form.ShowInViewer(f.form.Left(), true, false, f.form.Left().FileList->currentIndex().row());
    const QString shown = f.form.Viewer().ViewerTempFile();
    EXPECT_TRUE(shown.contains("/zpttmp/vw/top.txt")) << shown.toStdString();
    QFile viewed(shown);
    ASSERT_TRUE(viewed.open(QIODevice::ReadOnly));
    EXPECT_EQ(viewed.readAll(), "t");
}

TEST(ArchivePane, copyOutOfZipReplacesUsersFileUnasked)
{
    ZipOpsForm f;
    f.dir.makeFile("r/top.txt", "mine");
    const auto top = [&f] {
        QFile file(f.dir.filePath("r/top.txt"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QStringList questions;
    int answer = OverwriteNo;
    ScriptedDialogs scripted([&](QDialog& d) {
        questions << d.objectName();
        return answer;
    });
    f.select(f.form.Left(), "top.txt");
    f.form.BTNCopyClick();
    EXPECT_EQ(questions, QStringList{"TDlgOverwrite"});
    EXPECT_EQ(top(), "mine");

    answer = OverwriteYes;
    f.form.BTNCopyClick();
    EXPECT_EQ(questions.size(), 2);
    EXPECT_EQ(top(), "t");
}

} // namespace
