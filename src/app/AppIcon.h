// The program's icon (window, notification area, about box): two panes side by side,
// painted at the size asked, so it stays sharp everywhere.
#pragma once

#include <QIcon>

class AppIcon {
public:
    static QIcon Make();
};
