// "Connect drive": asks for the location of a network drive and connects it. The tool
// runs while the dialog stays responsive, and Cancel stops it. On failure the tool's
// error is shown and the dialog stays open for a corrected try.
#pragma once

#include <QDialog>

class MountToolRun;
class QComboBox;
class QDialogButtonBox;
class QLabel;
struct ToolResult;

class TDlgConnectDrive : public QDialog {
    Q_OBJECT
public:
    explicit TDlgConnectDrive(QWidget* parent = nullptr);

    QString Location() const;
    void SetLocation(const QString& location);
    bool Connecting() const;

    // Stops a connection still being made, then closes.
    void reject() override;

private:
    void connectClicked();
    void connectFinished(const ToolResult& result);
    void setBusy(bool busy);

    QComboBox* m_location = nullptr;
    QLabel* m_status = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    MountToolRun* m_run = nullptr;
    QString m_connecting;     // the location the running tool connects
};
