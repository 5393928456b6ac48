// The shaded band across the top of the program's dialogs, with a bold caption.
#pragma once

#include <QLabel>

class GradientBand : public QLabel {
    Q_OBJECT
public:
    explicit GradientBand(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
