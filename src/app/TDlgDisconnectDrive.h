// "Disconnect drive": lists the connected network drives and disconnects the chosen
// one. On failure the tool's error is shown and the dialog stays open.
#pragma once

#include <QDialog>

class QDialogButtonBox;
class QListWidget;

class TDlgDisconnectDrive : public QDialog {
    Q_OBJECT
public:
    // Fills the list with the network drives connected now.
    explicit TDlgDisconnectDrive(QWidget* parent = nullptr);

    // Replaces the listed drives (paths or locations).
    void SetMountPoints(const QStringList& mountPoints);
    QString SelectedMountPoint() const;

private:
    void disconnectClicked();
    void updateButtons();

    QListWidget* m_list = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};
