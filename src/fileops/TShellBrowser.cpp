#include "fileops/TShellBrowser.h"

#include "fileops/TDlgProperties.h"

#include <QWidget>

TShellBrowser::TShellBrowser(QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("TheShell"));
}

void TShellBrowser::SetObjectName(const QString& path) { m_objects = QStringList{path}; }

void TShellBrowser::SetObjectList(const QStringList& paths) { m_objects = paths; }

bool TShellBrowser::InvokeVerb(const QString& verb)
{
    if (m_objects.isEmpty() || verb.compare(QLatin1String("properties"), Qt::CaseInsensitive) != 0)
        return false;
    // Not modal and deleting itself on close, so several can stay open beside the panes.
    auto* dialog = new TDlgProperties(m_objects, qobject_cast<QWidget*>(parent()));
    dialog->show();
    return true;
}
