// "Extract all ZIPs": lists the chosen zips and, on "Extract all", extracts each into
// the target folder with a component of its own (ZipBatchExtractor), showing how each
// one fared. "Close" stays disabled while the extraction runs.
#pragma once

#include <QDialog>
#include <memory>

class QPushButton;
class QTableWidget;
class TZipMaster;

class TDlgExtractAllZips : public QDialog {
    Q_OBJECT
public:
    // `dllDirectory`: where the component finds the zip libraries, as the window's does.
    explicit TDlgExtractAllZips(const QString& dllDirectory, QWidget* parent = nullptr);
    ~TDlgExtractAllZips() override;

    // `sourceDir` and `targetDir` end with '/'; one row per name.
    void SetArchives(const QString& sourceDir, const QString& targetDir, const QStringList& names);

    void BTNExtractClick();
    void reject() override;

private:
    void setCell(int row, int column, const QString& text);
    void showStatus(int row, const QString& text);
    void extractAll();

    std::unique_ptr<TZipMaster> m_zip;
    QTableWidget* m_files = nullptr;
    QPushButton* m_extract = nullptr;
    QPushButton* m_close = nullptr;
    QString m_sourceDir;
    QString m_targetDir;
    QStringList m_names;
    bool m_running = false;
};
