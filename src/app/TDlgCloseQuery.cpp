#include "app/TDlgCloseQuery.h"

#include "app/CloseRules.h"
#include "components/GradientBand.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>


TDlgCloseQuery::TDlgCloseQuery(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("DlgCloseQuery"));
    setWindowTitle(QStringLiteral("Close confirmation"));
    setAccessibleName(QStringLiteral("Close confirmation"));
    auto* layout = new QVBoxLayout(this);
    auto* band = new GradientBand(QStringLiteral("You have requested to quit Dorvane"), this);
    layout->addWidget(band);
    auto* reminder = new QLabel(QStringLiteral("Please, remember that you can minimize Dorvane to the TaskBar with one "
                                               "HOT KEY and then recall it with the same HOT KEY."),
                                this);
    reminder->setWordWrap(true);
    layout->addWidget(reminder);
    layout->addWidget(new QLabel(QStringLiteral("Do you really want to quit Dorvane?"), this));

    auto* grid = new QGridLayout;
    struct Answer {
        const char* name;
        const char* caption;
        int result;
    };
    static const Answer answers[] = {
        {"BitBtn4", "Yes!", CloseYes},
        {"BitBtn1", "No!", CloseNo},
        {"BitBtn6", "Minimize!", CloseMinimize},
        {"BitBtn2", "Yes! Always quit in the future", CloseAlwaysQuit},
        {"BitBtn3", "No! Never quit in the future", CloseNeverQuit},
        {"BitBtn5", "No! Always minimize in the future", CloseAlwaysMinimize},
    };
    int i = 0;
    for (const Answer& a : answers) {
        auto* b = new QPushButton(QLatin1String(a.caption), this);
        b->setObjectName(QLatin1String(a.name));
        b->setAccessibleName(QLatin1String(a.caption));
        const int result = a.result;
        connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
        grid->addWidget(b, i / 3, i % 3);
        if (result == CloseAlwaysMinimize) {
            b->setDefault(true);
            b->setFocus();
        }
        ++i;
    }
    layout->addLayout(grid);
    adjustSize();
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}
