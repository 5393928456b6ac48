// "Connect drive": asks for the location of a network drive and connects it. On
// failure the tool's error is shown and the dialog stays open for a corrected try.
#pragma once

#include <QDialog>

class QComboBox;

class TDlgConnectDrive : public QDialog {
    Q_OBJECT
public:
    explicit TDlgConnectDrive(QWidget* parent = nullptr);

    QString Location() const;
    void SetLocation(const QString& location);

private:
    void connectClicked();

    QComboBox* m_location = nullptr;
};
