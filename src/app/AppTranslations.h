#pragma once
// The user's language: the program's own texts from the translations built into it, and
// the texts of Qt's standard dialogs and buttons from the system's Qt translations.

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

// ownFolder holds dorvane_<language>.qm files (":/i18n" in the program). A language with
// no file keeps the English source texts; nothing is reported, as English is complete.
inline void InstallTranslations(QCoreApplication& app, const QLocale& locale,
                                const QString& ownFolder = QStringLiteral(":/i18n"))
{
    const auto install = [&app, &locale](const QString& name, const QString& folder) {
        auto* translator = new QTranslator(&app);
        if (translator->load(locale, name, QStringLiteral("_"), folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    };
    install(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // Installed last, so it is asked first.
    install(QStringLiteral("dorvane"), ownFolder);
}
