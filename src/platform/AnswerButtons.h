// The row of answer buttons of the file-operation questions: each button closes its
// dialog with its own answer code, so tests and people answer the same way.
#pragma once

#include <initializer_list>

class QBoxLayout;
class QDialog;

struct AnswerButton {
    const char* Name;      // object name
    const char* Caption;   // with its '&' mnemonic; translated in the "AnswerButtons" context
    int Code;              // the dialog's result when pressed
};

// Adds the buttons to `row`; the one with `defaultCode` answers the Enter key.
void AddAnswerButtons(QDialog& dialog, QBoxLayout& row, std::initializer_list<AnswerButton> buttons,
                      int defaultCode);
