// The overwrite question of an extraction, asked as a pane's own copies ask it: once per
// name that already stands in the target, whether the user's or written earlier in the
// same run, with "all" answers holding for the rest of the run and Cancel stopping it.
// What was not written is remembered, so nothing the user kept is counted as arrived.
#pragma once

#include "platform/FileOpObserver.h"

#include <QSet>
#include <QString>
#include <functional>
#include <optional>

class TZipMaster;

class ZipOverwriteAnswers {
public:
    using Asker = std::function<OverwriteChoice(const FileOpConflict& conflict)>;

    // Answers `zip`'s questions until destroyed; without an asker nothing is replaced.
    ZipOverwriteAnswers(TZipMaster& zip, Asker ask);
    ~ZipOverwriteAnswers();
    ZipOverwriteAnswers(const ZipOverwriteAnswers&) = delete;
    ZipOverwriteAnswers& operator=(const ZipOverwriteAnswers&) = delete;

    // The members of the current archive that were not written (kept files, skips of
    // any other reason); cleared for the next archive while "all" answers stay.
    const QSet<QString>& Skipped() const { return m_skipped; }
    void NextArchive() { m_skipped.clear(); }
    bool Cancelled() const { return m_cancelled; }

private:
    bool answer(const QString& relative);
    FileOpConflict conflictFor(const QString& relative) const;

    TZipMaster& m_zip;
    Asker m_ask;
    std::function<bool(const QString&)> m_previousOverwrite;
    std::function<void(const QString&, int)> m_previousSkipped;
    std::optional<bool> m_forAll;
    QSet<QString> m_skipped;
    bool m_cancelled = false;
};
