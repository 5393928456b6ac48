// Runs a verb on file-system objects chosen by the commands of the panes. The one
// verb known is "properties", which opens the program's own properties window.
#pragma once

#include <QObject>
#include <QStringList>

class TShellBrowser : public QObject {
    Q_OBJECT
public:
    // Named "TheShell". A widget parent also becomes the parent of the windows it opens.
    explicit TShellBrowser(QObject* parent = nullptr);

    // One object (a full path), replacing any earlier choice.
    void SetObjectName(const QString& path);
    // Several objects (full paths), replacing any earlier choice.
    void SetObjectList(const QStringList& paths);
    QStringList Objects() const { return m_objects; }

    // True when the verb was run; unknown verbs, or no objects, do nothing.
    bool InvokeVerb(const QString& verb);

private:
    QStringList m_objects;
};
