// The program's help window: the bundled HTML help, opened at a topic.
#pragma once

#include <QDialog>

class QTextBrowser;

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows the one help window (made on first use) at the topic's anchor.
    static HelpWindow* ShowTopic(QWidget* parent, const QString& topic);
    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};
