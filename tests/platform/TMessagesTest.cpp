// The modal seam: a responder answers instead of a person, and the real box carries
// the program's caption and maps its buttons back to answers.
#include "platform/TMessages.h"

#include "QtPrinters.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(TMessages, responderAnswersAndSeesTheRequest)
{
    std::vector<MessageRequest> seen;
    TMessages::SetResponder([&](const MessageRequest& request) {
        seen.push_back(request);
        return MsgResult::No;
    });
    const MsgResult result = TMessages::Show(MsgKind::Confirmation, QStringLiteral("Delete 3 files?"),
                                             MsgButtons::YesNo);
    TMessages::SetResponder({});
    EXPECT_EQ(result, MsgResult::No);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(seen[0].text, QStringLiteral("Delete 3 files?"));
    EXPECT_EQ(seen[0].buttons, MsgButtons::YesNo);
}

TEST(TMessages, realBoxHasCaptionPlainIconAndMapsTheClickedButton)
{
    QString caption;
    QMessageBox::Icon icon = QMessageBox::Warning;
    int buttonCount = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        icon = box->icon();
        buttonCount = int(box->buttons().size());
        box->button(QMessageBox::Cancel)->click();
    });
    const MsgResult result = TMessages::Show(MsgKind::Plain, QStringLiteral("text"), MsgButtons::YesNoCancel);
    EXPECT_EQ(result, MsgResult::Cancel);
    EXPECT_EQ(caption, QStringLiteral("Dorvane"));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttonCount, 3);
}

TEST(TMessages, modalResponderDrivesTheDialogInsteadOfExec)
{
    QDialog dialog;
    bool visibleDuringAnswer = true;
    SetModalResponder([&](QDialog& d) {
        visibleDuringAnswer = d.isVisible();
        return 42;
    });
    const int result = ShowModal(dialog);
    SetModalResponder({});
    EXPECT_EQ(result, 42);
    EXPECT_FALSE(visibleDuringAnswer);

    QTimer::singleShot(0, &dialog, [&] { dialog.done(7); });
    EXPECT_EQ(ShowModal(dialog), 7);
}

} // namespace
