// "Disconnect drive": lists the connected network drives and disconnects the chosen
// one. The tool runs while the dialog stays responsive, and Cancel stops it. On
// failure the tool's error is shown and the dialog stays open.
#pragma once

#include <QDialog>

class MountToolRun;
class QDialogButtonBox;
class QLabel;
class QListWidget;
struct ToolResult;

class TDlgDisconnectDrive : public QDialog {
    Q_OBJECT
public:
    // Fills the list with the network drives connected now.
    explicit TDlgDisconnectDrive(QWidget* parent = nullptr);

    // Replaces the listed drives (paths or locations).
    void SetMountPoints(const QStringList& mountPoints);
    QString SelectedMountPoint() const;
    bool Disconnecting() const;

    // Stops a disconnection still running, then closes.
    void reject() override;

private:
    void disconnectClicked();
    void disconnectFinished(const ToolResult& result);
    void updateButtons();

    QListWidget* m_list = nullptr;
    QLabel* m_status = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    MountToolRun* m_run = nullptr;
};
