// What closing the main window does, by the quit setting and the answer of the close
// question.
#pragma once

#include <functional>

// Results of the close question dialog, one per button.
enum CloseAnswer {
    CloseYes = 100,            // "Yes!"
    CloseNo,                   // "No!"
    CloseMinimize,             // "Minimize!"
    CloseAlwaysQuit,           // "Yes! Always quit in the future"
    CloseNeverQuit,            // "No! Never quit in the future"
    CloseAlwaysMinimize,       // "No! Always minimize in the future"
};

struct CloseDecision {
    bool close = false;
    bool minimize = false;
    int quitType = 0;          // the quit setting after the decision
};

class CloseRules {
public:
    // askUser shows the close question and returns its result code; it is called only
    // when the quit setting says to ask.
    static CloseDecision Decide(int quitType, const std::function<int()>& askUser);
};
