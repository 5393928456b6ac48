// The SFV check dialog "Validate SFV values": lists the rows of one SFV file and checks
// the files of its folder against them on a worker thread, row by row, with a status
// per row. The window opens it on the active pane's folder and the selected file; it
// knows nothing of the window.
#pragma once

#include "tools/sfv/SfvEntry.h"
#include "tools/sfv/SfvValidator.h"

#include <QDialog>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTableWidget;
class QThread;

class TDlgValidateSFV : public QDialog {
    Q_OBJECT
public:
    // folder: the SFV file's folder ('/' is appended when missing); sfvName: its name.
    TDlgValidateSFV(const QString& folder, const QString& sfvName, QWidget* parent = nullptr);
    ~TDlgValidateSFV() override;

    // Opens the dialog modally on that SFV file and frees it when it closes.
    static void Execute(QWidget* parent, const QString& folder, const QString& sfvName);

    // Reads the SFV file on a worker thread and puts its rows into the grid a part per
    // turn of the event loop, so that a list of millions of rows never freezes the
    // window. When it cannot be read or lists nothing, warns and leaves "Validate
    // values" disabled.
    void ReadSfvFile();
    // While the list is read or its rows are still going into the grid.
    bool Reading() const { return m_reading != nullptr || m_rowsFilled < m_entries.size(); }
    // Starts checking every row; the statuses arrive while the UI stays responsive.
    void BTNValidateClick();
    bool Validating() const { return m_validator != nullptr; }

    // Closing (the Close button, Escape, the window's close box) stops a running check.
    void reject() override;

protected:
    // Shows the hints of the controls in the status line.
    bool event(QEvent* event) override;

private:
    enum Column { ColName, ColLength, ColCrc, ColResult };

    void buildGrid();
    void listRead(std::optional<std::vector<SfvEntry>> entries);
    void fillRows();
    void stopReading();
    void widenColumn(int column, const QString& text);
    void showStatus(int row, SfvValidator::Status status);
    void showProgress(qint64 blocksRead, qint64 blocksTotal);
    void setRunning(bool running);
    // Called on the UI thread once the worker has ended, or after stopping it.
    void validationEnded();
    void stopValidation();

    QString m_folder;
    QString m_sfvName;
    std::vector<SfvEntry> m_entries;
    size_t m_rowsFilled = 0;
    QTableWidget* m_files;
    QPushButton* m_validate;
    QPushButton* m_close;
    QLabel* m_fileStatus;
    QProgressBar* m_bar;
    QStatusBar* m_statusLine;
    // Set while a check runs; UI thread only. The validator is shared with the worker
    // thread through its Stop() flag and signals alone.
    std::unique_ptr<SfvValidator> m_validator;
    std::unique_ptr<QThread> m_thread;
    // Set while the list is read; the flag is the only thing the reader shares.
    std::unique_ptr<QThread> m_reading;
    std::shared_ptr<std::atomic<bool>> m_readingStop;
};
