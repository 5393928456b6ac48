// "Sfx Zip properties": the options a self-extractor is made with, and the named sets
// that keep them (SfxSets). Any change enables "Save"; choosing a set loads it.
#pragma once

#include "SfxSet.h"
#include "SfxSets.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

class TDlgSfxZip : public QDialog {
    Q_OBJECT
public:
    explicit TDlgSfxZip(SfxSets sets, QWidget* parent = nullptr);

    SfxSet Fields() const;
    void SetFields(const SfxSet& set);

    // Handlers, by the controls that call them.
    void CBQuickSetChange();
    void BTNSaveClick();
    void BTNDeleteClick();
    void FieldChange();
    void CBUserOverwriteClick();

private:
    void buildControls();
    QLayout* buildQuickSetRow();
    QGroupBox* buildOverwriteMode();
    QCheckBox* addCheckBox(const QString& objectName, const QString& caption, bool checked);
    QLineEdit* addEdit(const QString& objectName);
    void wireChanges();
    void fillQuickSet();
    void selectQuickSet(const QString& name);

    SfxSets m_sets;
    QComboBox* m_quickSet = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_delete = nullptr;
    QLineEdit* m_caption = nullptr;
    QLineEdit* m_commandLine = nullptr;
    QLineEdit* m_defDirectory = nullptr;
    QCheckBox* m_useTempDir = nullptr;
    QCheckBox* m_canDisableCmdLine = nullptr;
    QCheckBox* m_canSelectFiles = nullptr;
    QCheckBox* m_userOverwrite = nullptr;
    QGroupBox* m_overwriteMode = nullptr;
    QButtonGroup* m_overwriteButtons = nullptr;
};
