// Dorvane: starts the application and hands over to the main window.
#include "app/AppTranslations.h"
#include "app/TForm1.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InstallTranslations(app, QLocale::system());
    return RunDorvane(app);
}
