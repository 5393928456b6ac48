// Shows the read-only, archive, hidden and system attributes of a selection and lets
// the user change them. A box whose attribute differs between the entries starts in
// the third (mixed) state and can be clicked back to it; the others toggle on/off.
#pragma once

#include "fileops/AttributeSelection.h"

#include <QDialog>

class QCheckBox;

class TDlgAttributes : public QDialog {
    Q_OBJECT
public:
    explicit TDlgAttributes(QWidget* parent = nullptr);

    void SetStates(const AttributeStates& states);
    AttributeStates States() const;

private:
    QCheckBox* addBox(const char* objectName, const QString& caption);
    QCheckBox* boxOf(uint32_t bit) const;

    QCheckBox* m_readOnly = nullptr;
    QCheckBox* m_archive = nullptr;
    QCheckBox* m_hidden = nullptr;
    QCheckBox* m_system = nullptr;
};
