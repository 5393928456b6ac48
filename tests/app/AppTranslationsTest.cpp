// The user's language: a translation found for the locale is installed and the texts
// shown come from it, including those kept in tables and translated where they are used.
#include "app/AppTranslations.h"
#include "app/HotKeyTable.h"

#include "support/TempDir.h"

#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

TEST(AppTranslations, theLanguageOfTheLocaleIsNotLoadedOrNotUsed)
{
    const QString lrelease = QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/lrelease");
    if (!QFileInfo(lrelease).isExecutable())
        GTEST_SKIP() << "lrelease is not installed";
    TempDir dir;
    const QString ts = dir.makeFile(QStringLiteral("dorvane_fr.ts"), R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context><name>HotKeyTable</name>
<message><source>Shift-</source><translation>Maj-</translation></message>
<message><source> or </source><translation> ou </translation></message>
<message><source> to hide</source><translation> pour cacher</translation></message>
</context>
<context><name>VirtualKeys</name>
<message><source>Esc</source><translation>Échap</translation></message>
</context>
</TS>
)");
    ASSERT_EQ(QProcess::execute(lrelease, {QStringLiteral("-silent"), ts}), 0);

    InstallTranslations(*QCoreApplication::instance(), QLocale(QLocale::French, QLocale::France), dir.path());

    EXPECT_EQ(HotKeyTable().TitleHint(), QStringLiteral("Échap ou Maj-F5 pour cacher"));
    // The other tests in this process compare the English texts.
    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

} // namespace
