// The properties window of one or more files and folders: name, type, place, size,
// times, owner and permissions. A folder's size is measured in the background; the
// window opens at once and shows the size when it is known. Not modal; it deletes
// itself when closed.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>

class QFormLayout;
class QLabel;
class PropertiesMeasurer;

class TDlgProperties : public QDialog {
    Q_OBJECT
public:
    // `paths`: full paths, at least one.
    explicit TDlgProperties(const QStringList& paths, QWidget* parent = nullptr);
    ~TDlgProperties() override;

private:
    void addSinglePath(const QString& path);
    void addSeveralPaths(const QStringList& paths);
    QLabel* addRow(const QString& caption, const char* objectName, const QString& value);
    void measureInBackground(const QStringList& paths);
    void showMeasured(qint64 size, quint32 files, quint32 folders);

    QFormLayout* m_form = nullptr;
    QLabel* m_size = nullptr;
    QLabel* m_contains = nullptr;
    // Deleted by itself when done; told to stop when this window closes first.
    QPointer<PropertiesMeasurer> m_measurer;
};
