// Finds the file that a name in an SFV file stands for. The name as written wins; only
// when no entry of the folder has exactly that name is the one entry taken whose name
// matches it without regard to case, since SFV files made on other systems name their
// files in any case. A case-folded path is never opened blindly: two entries that differ
// only in case leave the name unresolved rather than picking one.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

class SfvNameResolver {
public:
    // folder: in the file system's bytes, ending with '/'.
    explicit SfvNameResolver(QByteArray folder);

    // The path to open for a name as the SFV file writes it.
    QByteArray PathOf(const QByteArray& written);

private:
    void indexFolder();

    QByteArray m_folder;
    bool m_indexed = false;   // the folder is listed once, when a name first needs it
    QHash<QString, QList<QByteArray>> m_namesByKey;
};
