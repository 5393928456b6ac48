// The "Sfx Zip properties" dialog: which buttons a change or a chosen set enables, and
// saving, choosing and deleting a named set through it.
#include "platform/TMessages.h"
#include "zip/TDlgSfxZip.h"
#include "zip/TInputBox.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

QStringList items(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

TEST(TDlgSfxZip, buttonsWronglyEnabledOrSetNotKept)
{
    TempDir dir;
    TDlgSfxZip dialog(SfxSets(dir.filePath("DORVN.INI")));
    auto* quickSet = dialog.findChild<QComboBox*>("CBQuickSet");
    auto* save = dialog.findChild<QPushButton*>("BTNSave");
    auto* erase = dialog.findChild<QPushButton*>("BTNDelete");
    auto* caption = dialog.findChild<QLineEdit*>("EDCaption");
    auto* userOverwrite = dialog.findChild<QCheckBox*>("CBUserOverwrite");
    auto* mode = dialog.findChild<QGroupBox*>("RGOverwriteMode");
    ASSERT_TRUE(quickSet && save && erase && caption && userOverwrite && mode);
    EXPECT_EQ(dialog.windowTitle(), "Sfx Zip properties");
    EXPECT_EQ(items(quickSet), QStringList{""});
    EXPECT_FALSE(save->isEnabled() || erase->isEnabled());
    EXPECT_TRUE(mode->isEnabled());
    EXPECT_EQ(dialog.Fields(), SfxSet());

    userOverwrite->setChecked(true);
    EXPECT_TRUE(save->isEnabled());
    EXPECT_FALSE(mode->isEnabled());
    caption->setText("Kept");

    QString asked;
    SetModalResponder([&](QDialog& d) {
        auto* box = qobject_cast<TInputBox*>(&d);
        if (!box)
            return int(QDialog::Rejected);
        asked = d.windowTitle() + '|' + box->Text();
        box->SetText("Mine");
        return int(QDialog::Accepted);
    });
    dialog.BTNSaveClick();
    SetModalResponder({});
    EXPECT_EQ(asked, "Specify the name for the set|");
    EXPECT_EQ(items(quickSet), (QStringList{"", "Mine"}));
    EXPECT_EQ(quickSet->currentText(), "Mine");
    EXPECT_FALSE(save->isEnabled());
    EXPECT_TRUE(erase->isEnabled());

    caption->setText("Changed");
    userOverwrite->setChecked(false);
    EXPECT_TRUE(save->isEnabled());
    dialog.CBQuickSetChange();
    EXPECT_EQ(caption->text(), "Kept");
    EXPECT_TRUE(userOverwrite->isChecked());
    EXPECT_FALSE(mode->isEnabled());
    EXPECT_FALSE(save->isEnabled());

    dialog.BTNDeleteClick();
    EXPECT_EQ(items(quickSet), QStringList{""});
    EXPECT_FALSE(erase->isEnabled());
}

} // namespace
