#include "TDlgSfxZip.h"

#include "TInputBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TDlgSfxZip::TDlgSfxZip(SfxSets sets, QWidget* parent) : QDialog(parent), m_sets(std::move(sets))
{
    setObjectName(QStringLiteral("DlgSfxZip"));
    setWindowTitle(tr("Sfx Zip properties"));
    buildControls();
    fillQuickSet();
    wireChanges();
    m_save->setEnabled(false);
    CBUserOverwriteClick();
}

void TDlgSfxZip::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* banner = new QLabel(tr("Set SFX options"), this);
    banner->setObjectName(QStringLiteral("Banner"));
    QFont bannerFont = banner->font();
    bannerFont.setBold(true);
    bannerFont.setPointSizeF(bannerFont.pointSizeF() * 1.4);
    banner->setFont(bannerFont);
    layout->addWidget(banner);
    layout->addLayout(buildQuickSetRow());

    auto* fields = new QFormLayout;
    m_caption = addEdit(QStringLiteral("EDCaption"));
    m_commandLine = addEdit(QStringLiteral("EDCommandLine"));
    m_defDirectory = addEdit(QStringLiteral("EDDefDirectory"));
    const std::pair<QLineEdit*, QString> labelled[] = {
        {m_caption, tr("Dialog caption")},
        {m_commandLine, tr("Command line")},
        {m_defDirectory, tr("Default directory")},
    };
    for (const auto& [edit, caption] : labelled) {
        edit->setAccessibleName(caption);
        fields->addRow(caption, edit);
    }
    layout->addLayout(fields);

    m_useTempDir = addCheckBox(QStringLiteral("CBUseTempDir"), tr("Use TEMP directory"), false);
    m_canDisableCmdLine = addCheckBox(QStringLiteral("CBCanDisableCmdLine"),
                                      tr("Command line can be disabled by the user"), true);
    m_canSelectFiles = addCheckBox(QStringLiteral("CBCanSelectFiles"),
                                   tr("User can select which files should be extracted"), false);
    m_userOverwrite = addCheckBox(QStringLiteral("CBUserOverwrite"),
                                  tr("Let the user select what to do if a file already exists"), false);
    for (QCheckBox* box : {m_useTempDir, m_canDisableCmdLine, m_canSelectFiles, m_userOverwrite})
        layout->addWidget(box);
    layout->addWidget(buildOverwriteMode());

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BTNOk"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("BTNCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QLayout* TDlgSfxZip::buildQuickSetRow()
{
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(tr("Quick set"), this);
    m_quickSet = new QComboBox(this);
    m_quickSet->setObjectName(QStringLiteral("CBQuickSet"));
    m_quickSet->setAccessibleName(label->text());
    m_quickSet->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_quickSet->setMinimumContentsLength(20);
    label->setBuddy(m_quickSet);
    m_save = new QPushButton(tr("Save"), this);
    m_save->setObjectName(QStringLiteral("BTNSave"));
    m_delete = new QPushButton(tr("Delete"), this);
    m_delete->setObjectName(QStringLiteral("BTNDelete"));
    for (QPushButton* b : {m_save, m_delete}) {
        b->setAccessibleName(b->text());
        b->setAutoDefault(false);
    }
    row->addWidget(label);
    row->addWidget(m_quickSet, 1);
    row->addWidget(m_save);
    row->addWidget(m_delete);
    connect(m_quickSet, &QComboBox::activated, this, &TDlgSfxZip::CBQuickSetChange);
    connect(m_save, &QPushButton::clicked, this, &TDlgSfxZip::BTNSaveClick);
    connect(m_delete, &QPushButton::clicked, this, &TDlgSfxZip::BTNDeleteClick);
    return row;
}

QGroupBox* TDlgSfxZip::buildOverwriteMode()
{
    m_overwriteMode = new QGroupBox(tr("Overwrite mode"), this);
    m_overwriteMode->setObjectName(QStringLiteral("RGOverwriteMode"));
    m_overwriteMode->setAccessibleName(m_overwriteMode->title());
    m_overwriteButtons = new QButtonGroup(this);
    auto* items = new QVBoxLayout(m_overwriteMode);
    const QString captions[] = {tr("Ask user when each file is found"), tr("Aways overwrite existing files"),
                                tr("Never overwrite - skip those files")};
    for (int i = 0; i < 3; ++i) {
        auto* item = new QRadioButton(captions[i], m_overwriteMode);
        item->setObjectName(QStringLiteral("RGOverwriteMode%1").arg(i));
        item->setAccessibleName(captions[i]);
        m_overwriteButtons->addButton(item, i);
        items->addWidget(item);
    }
    m_overwriteButtons->button(0)->setChecked(true);
    return m_overwriteMode;
}

QCheckBox* TDlgSfxZip::addCheckBox(const QString& objectName, const QString& caption, bool checked)
{
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(objectName);
    box->setAccessibleName(caption);
    box->setChecked(checked);
    return box;
}

QLineEdit* TDlgSfxZip::addEdit(const QString& objectName)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(objectName);
    return edit;
}

void TDlgSfxZip::wireChanges()
{
    for (QLineEdit* edit : {m_caption, m_commandLine, m_defDirectory})
        connect(edit, &QLineEdit::textChanged, this, &TDlgSfxZip::FieldChange);
    for (QCheckBox* box : {m_useTempDir, m_canDisableCmdLine, m_canSelectFiles, m_userOverwrite})
        connect(box, &QCheckBox::toggled, this, &TDlgSfxZip::FieldChange);
    connect(m_userOverwrite, &QCheckBox::toggled, this, &TDlgSfxZip::CBUserOverwriteClick);
    connect(m_overwriteButtons, &QButtonGroup::idToggled, this, &TDlgSfxZip::FieldChange);
}

SfxSet TDlgSfxZip::Fields() const
{
    SfxSet set;
    set.Caption = m_caption->text();
    set.CommandLine = m_commandLine->text();
    set.DefDirectory = m_defDirectory->text();
    set.UseTempDir = m_useTempDir->isChecked();
    set.CanDisableCmdLine = m_canDisableCmdLine->isChecked();
    set.CanSelectFiles = m_canSelectFiles->isChecked();
    set.UserOverwrite = m_userOverwrite->isChecked();
    set.OverwriteMode = std::max(0, m_overwriteButtons->checkedId());
    return set;
}

void TDlgSfxZip::SetFields(const SfxSet& set)
{
    m_caption->setText(set.Caption);
    m_commandLine->setText(set.CommandLine);
    m_defDirectory->setText(set.DefDirectory);
    m_useTempDir->setChecked(set.UseTempDir);
    m_canDisableCmdLine->setChecked(set.CanDisableCmdLine);
    m_canSelectFiles->setChecked(set.CanSelectFiles);
    m_userOverwrite->setChecked(set.UserOverwrite);
    // A mode out of range from a hand-edited file leaves the buttons as they were.
    if (QAbstractButton* mode = m_overwriteButtons->button(set.OverwriteMode))
        mode->setChecked(true);
}

void TDlgSfxZip::FieldChange()
{
    m_save->setEnabled(true);
}

void TDlgSfxZip::CBUserOverwriteClick()
{
    // A user who decides for each file needs no fixed mode.
    m_overwriteMode->setEnabled(!m_userOverwrite->isChecked());
}

void TDlgSfxZip::fillQuickSet()
{
    const QString previous = m_quickSet->currentText();
    m_quickSet->clear();
    m_quickSet->addItem(QString());
    m_quickSet->addItems(m_sets.Names());
    m_quickSet->setCurrentIndex(std::max(0, m_quickSet->findText(previous)));
    m_delete->setEnabled(m_quickSet->currentIndex() > 0);
}

void TDlgSfxZip::selectQuickSet(const QString& name)
{
    const int at = m_quickSet->findText(name, Qt::MatchFixedString);
    m_quickSet->setCurrentIndex(std::max(0, at));
    m_delete->setEnabled(m_quickSet->currentIndex() > 0);
}

void TDlgSfxZip::CBQuickSetChange()
{
    const QString name = m_quickSet->currentText();
    if (const std::optional<SfxSet> set = m_sets.Load(name))
        SetFields(*set);
    m_save->setEnabled(false);
    m_delete->setEnabled(!name.isEmpty());
}

void TDlgSfxZip::BTNSaveClick()
{
    const std::optional<QString> name =
        TInputBox::Ask(tr("Specify the name for the set"), tr("Name"), m_quickSet->currentText(), this);
    if (!name || !m_sets.Save(*name, Fields()))
        return;
    fillQuickSet();
    selectQuickSet(*name);
    m_save->setEnabled(false);
}

void TDlgSfxZip::BTNDeleteClick()
{
    m_sets.Erase(m_quickSet->currentText());
    m_save->setEnabled(false);
    fillQuickSet();
}
