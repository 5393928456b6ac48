// Copy, move, delete and rename when a pane shows the inside of a zip: the file
// operations the shell cannot do, carried out with the zip component. The window
// gives the two sides and the selection, and re-reads what changed.
#pragma once

#include "ZipOverwriteAnswers.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class TZipMaster;

class ZipFileCommands {
public:
    enum Operation { Move = 1, Copy = 2, Delete = 3, Rename = 4 };

    struct Side {
        QString Folder;       // a real folder ending in '/', or the zip's path plus '/'
        bool InsideZip = false;
        QString ArchivePath;  // folder inside the zip: "" or "docs/old/"
        QString ZipPath() const { return Folder.left(Folder.size() - 1); }
    };
    struct Selected {
        QString Name;
        bool IsFolder = false;
    };
    struct Outcome {
        bool SourceChanged = false;
        bool TargetChanged = false;
    };

    explicit ZipFileCommands(TZipMaster& zip);

    // Asks about a name that already stands in the target of an extraction; without
    // it nothing there is replaced.
    ZipOverwriteAnswers::Asker AskOverwrite;
    // Makes the extracted files durable before a move deletes them from the zip;
    // false keeps them there.
    std::function<bool(const QString& targetFolder)> Flush;

    // Does nothing while the component is busy with another operation.
    // A rename must have been answered in its dialog before this is called.
    Outcome Run(int operation, const Side& source, const Side& target, const std::vector<Selected>& selection,
                bool fastZipMove);

    // The members of a zip's selection: folders as "inner/name/*.*", files as "inner/name".
    static QStringList SourceSpecs(const QString& archivePath, const std::vector<Selected>& selection);
    // What is added to a zip from a real folder: folders as "name/*.*", files by name.
    static QStringList TargetSpecs(const std::vector<Selected>& selection);

private:
    Outcome OutOfZip(int operation, const Side& source, const Side& target, const std::vector<Selected>& selection,
                     bool fastZipMove);
    Outcome IntoZip(int operation, const Side& source, const Side& target, const std::vector<Selected>& selection);
    bool Extract(const Side& source, const Side& target, const std::vector<Selected>& selection);
    bool DeleteMembers(const Side& source, const QStringList& fileSpecs, bool confirm);
    QStringList ArrivedMembers(const Side& source, const std::vector<Selected>& selection,
                               const QSet<QString>& skipped) const;

    TZipMaster& m_zip;
};
