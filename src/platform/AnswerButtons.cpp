#include "platform/AnswerButtons.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QDialog>
#include <QPushButton>

void AddAnswerButtons(QDialog& dialog, QBoxLayout& row, std::initializer_list<AnswerButton> buttons,
                      int defaultCode)
{
    for (const AnswerButton& b : buttons) {
        auto* button = new QPushButton(QCoreApplication::translate("AnswerButtons", b.Caption), &dialog);
        button->setObjectName(QLatin1String(b.Name));
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
        const int code = b.Code;
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, code] { dialog.done(code); });
        row.addWidget(button);
        button->setDefault(code == defaultCode);
    }
}
