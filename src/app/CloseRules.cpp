#include "app/CloseRules.h"

CloseDecision CloseRules::Decide(int quitType, const std::function<int()>& askUser)
{
    CloseDecision d;
    d.quitType = quitType;
    switch (quitType) {
    case 1:
        return d;
    case 2:
        d.close = true;
        return d;
    case 3:
        d.minimize = true;
        return d;
    case 0:
        break;
    default:
        d.close = true;
        return d;
    }
    switch (askUser()) {
    case CloseNo:
        break;
    case CloseMinimize:
        d.minimize = true;
        break;
    case CloseAlwaysQuit:
        d.quitType = 2;
        d.close = true;
        break;
    case CloseNeverQuit:
        d.quitType = 1;
        break;
    case CloseAlwaysMinimize:
        d.quitType = 3;
        d.minimize = true;
        break;
    default:                   // "Yes!" and any other way out of the question
        d.close = true;
        break;
    }
    return d;
}
