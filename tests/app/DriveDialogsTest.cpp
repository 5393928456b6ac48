// The connect and disconnect dialogs around a stand-in for gio: the dialog keeps
// answering while the tool runs, Cancel stops the tool, and the tool's own error
// text reaches the user with the dialog left open for another try.
#include "AppTestSupport.h"
#include "FormTestSupport.h"
#include "app/TDlgConnectDrive.h"
#include "app/TDlgDisconnectDrive.h"
#include "platform/NetworkMounts.h"
#include "support/EventWait.h"
#include "support/TempDir.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

struct FakeTool {
    TempDir dir;
    explicit FakeTool(const QByteArray& script)
    {
        const QString path = dir.makeFile(QStringLiteral("gio"), "#!/bin/sh\n" + script);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        SetMountToolForTests(path);
    }
    ~FakeTool() { SetMountToolForTests(QString()); }
};

QPushButton* button(QDialog& dialog, QDialogButtonBox::StandardButton which)
{
    return dialog.findChild<QDialogButtonBox*>(QStringLiteral("Buttons"))->button(which);
}

} // namespace

TEST(DriveDialogs, slowToolFreezesDialogOrCancelLeavesItRunning)
{
    FakeTool tool("exec sleep 60\n");
    TDlgConnectDrive dialog;
    dialog.show();
    dialog.SetLocation(QStringLiteral("smb://slow/share"));
    button(dialog, QDialogButtonBox::Ok)->click();   // returns at once: nothing waits for the tool
    EXPECT_TRUE(dialog.Connecting());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(button(dialog, QDialogButtonBox::Ok)->isEnabled()) << "a second connection cannot start";
    button(dialog, QDialogButtonBox::Cancel)->click();
    EXPECT_FALSE(dialog.Connecting());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(DriveDialogs, toolsErrorTextLostOrDialogClosedOnFailure)
{
    FakeTool tool("echo 'gio: /mnt/share: Not mounted' >&2\nexit 2\n");
    CapturedMessages messages;
    TDlgDisconnectDrive dialog;
    dialog.SetMountPoints({QStringLiteral("/mnt/share")});
    dialog.show();
    button(dialog, QDialogButtonBox::Ok)->click();
    ASSERT_TRUE(runEventsUntil([&] { return !messages.shown.empty(); }));
    EXPECT_EQ(messages.shown.front().text, QStringLiteral("gio: /mnt/share: Not mounted"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.Disconnecting());
    EXPECT_TRUE(button(dialog, QDialogButtonBox::Ok)->isEnabled());
}
