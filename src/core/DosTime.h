// Packed DOS date and time (the format of directory searches and zip members):
// bits 31-25 year-1980, 24-21 month, 20-16 day, 15-11 hour, 10-5 minute, 4-0 seconds/2.
#pragma once

#include <QDateTime>
#include <cstdint>
#include <ctime>
#include <optional>
#include <utility>

// Packs a local date and time; nullopt outside 1980-01-01 .. 2107-12-31.
std::optional<uint32_t> PackDosTime(const QDateTime& local);
// Packs a Unix time in the local time zone; nullopt outside the DOS range.
std::optional<uint32_t> PackDosTime(time_t unixTime);
// Unpacks to a local date and time; nullopt when a field is out of range
// (month 0 or >12, day 0 or past the month's end, hour >23, minute >59, seconds >59).
std::optional<QDateTime> UnpackDosTime(uint32_t packed);
// The packed date and time as they are, with the same checks, not resolved in the
// local zone: texts show a stamp inside a daylight-saving gap as it was written.
std::optional<std::pair<QDate, QTime>> UnpackDosFields(uint32_t packed);
