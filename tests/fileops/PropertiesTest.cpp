#include "CommandTestSupport.h"
#include "support/TempDir.h"

#include "fileops/TDlgProperties.h"
#include "fileops/TShellBrowser.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// The one properties window the test opened.
QPointer<TDlgProperties> openWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<TDlgProperties*>(w); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

QString field(QWidget* window, const char* name)
{
    const auto* label = window ? window->findChild<QLabel*>(QLatin1String(name)) : nullptr;
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

} // namespace

TEST(TShellBrowser, propertiesOpensAWindowThatDoesNotBlockAndUnknownVerbsDoNothing)
{
    TempDir dir;
    const QString file = dir.makeFile("letter.txt", QByteArray(1234, 'x'));
    ::chmod(QFile::encodeName(file).constData(), 04750);
    TShellBrowser shell;
    EXPECT_FALSE(shell.InvokeVerb("properties")) << "nothing chosen yet";
    shell.SetObjectName(file);
    EXPECT_FALSE(shell.InvokeVerb("explore"));
    EXPECT_TRUE(openWindow().isNull());

    ASSERT_TRUE(shell.InvokeVerb("properties"));
    QPointer<TDlgProperties> window = openWindow();
    ASSERT_FALSE(window.isNull());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(field(window, "LBName"), "letter.txt");
    EXPECT_EQ(field(window, "LBLocation"), dir.path());
    EXPECT_EQ(field(window, "LBSize"), "1,234 bytes");
    EXPECT_EQ(field(window, "LBPermissions"), "rwsr-x--- (4750)");
    window->close();
    EXPECT_TRUE(WaitUntil([&] { return window.isNull(); })) << "a closed window deletes itself";
}

TEST(TDlgProperties, folderAndSelectionSizesArriveFromTheBackground)
{
    TempDir dir;
    const QString loose = dir.makeFile("loose", QByteArray(10, 'l'));
    dir.makeFile("docs/a", QByteArray(3, 'a'));
    dir.makeFile("docs/sub/b", QByteArray(5, 'b'));
    QPointer<TDlgProperties> folder = new TDlgProperties({dir.filePath("docs")});
    EXPECT_EQ(field(folder, "LBSize"), "Calculating...");
    EXPECT_TRUE(WaitUntil([&] { return field(folder, "LBSize") != "Calculating..."; }));
    EXPECT_EQ(field(folder, "LBSize"), "8 bytes");
    EXPECT_EQ(field(folder, "LBContains"), "2 files, 1 folder");
    folder->close();

    QPointer<TDlgProperties> several = new TDlgProperties({loose, dir.filePath("docs")});
    EXPECT_EQ(field(several, "LBObjects"), "2 items");
    EXPECT_EQ(field(several, "LBLocation"), dir.path());
    EXPECT_TRUE(WaitUntil([&] { return field(several, "LBSize") == "18 bytes"; }));
    several->close();
    EXPECT_TRUE(WaitUntil([&] { return folder.isNull() && several.isNull(); }));
}
