#include "app/HelpWindow.h"

#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent)
    : QDialog(parent)
    , m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Dorvane Help"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    m_browser->setSource(QUrl(QStringLiteral("qrc:/help/index.html")));
    resize(640, 520);
}

HelpWindow* HelpWindow::ShowTopic(QWidget* parent, const QString& topic)
{
    static QPointer<HelpWindow> window;
    if (!window)
        window = new HelpWindow(parent);
    window->m_browser->scrollToAnchor(topic);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
