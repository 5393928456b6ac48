// Compressed data that cannot be read or written. Text() is the text for the user;
// the command that loaded the data shows it.
#pragma once

#include <QString>
#include <stdexcept>

class ECompressError : public std::runtime_error {
public:
    explicit ECompressError(const QString& text)
        : std::runtime_error(text.toStdString())
    {
    }
    QString Text() const { return QString::fromStdString(what()); }
};
