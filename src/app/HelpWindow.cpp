// The help window (see HelpWindow.h).
#include "app/HelpWindow.h"

#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <mutex>

// The help page sits in this static library's resources, which the linker drops unless
// something names them; the macro declares a global function, so it stays outside any
// namespace.
static void initHelpResources()
{
    static std::once_flag once;
    std::call_once(once, [] { Q_INIT_RESOURCE(resources); });
}

HelpWindow::HelpWindow(QWidget* parent)
    : QDialog(parent)
    , m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Dorvane Help"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    initHelpResources();
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
