// The help window and the pages the program carries in its resources: they must be
// linked into the program, not only listed in a resource file.
#include "app/HelpWindow.h"

#include <QTextBrowser>
#include <QTextDocument>
#include <gtest/gtest.h>

TEST(HelpWindow, contentsMissingFromTheProgram)
{
    HelpWindow window;
    const QString text = window.Browser()->document()->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("two-pane file manager"))) << text.left(200).toStdString();
    for (const char* topic : {"Keys", "Commands"})
        EXPECT_TRUE(text.contains(QLatin1String(topic))) << topic;
}
