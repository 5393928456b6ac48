// Date and time texts of the panes: the locale's short date and "hh:mm".
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

QString ShortDateText(const QDate& date);
QString TimeText(const QTime& time);   // "hh:mm", 24 hours
// The time cell of a pane row: short date + " " + "hh:mm", or "<invalid date>"
// when the packed DOS time does not convert.
QString DosTimeCellText(uint32_t packedDosTime);
