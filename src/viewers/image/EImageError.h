// A picture that cannot be shown. Text() carries the text for the user; the viewer
// shows it in a message, so a broken picture never ends the program.
#pragma once

#include <QString>
#include <stdexcept>

class EImageError : public std::runtime_error {
public:
    explicit EImageError(const QString& text)
        : std::runtime_error(text.toStdString())
    {
    }
    QString Text() const { return QString::fromStdString(what()); }
};
