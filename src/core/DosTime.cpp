// Packed DOS date and time: the stamp format of directory searches and zip members.
// Packing and unpacking go through the local time zone, as the stamps are local.
#include "DosTime.h"

namespace {

constexpr int FirstYear = 1980;
constexpr int LastYear = FirstYear + 127;   // the year field has 7 bits

std::optional<uint32_t> packFields(int year, int month, int day, int hour, int minute, int second)
{
    if (year < FirstYear || year > LastYear)
        return std::nullopt;
    // A leap second has no slot of its own; it stays in the last two-second step.
    second = qMin(second, 59);
    return uint32_t(year - FirstYear) << 25 | uint32_t(month) << 21 | uint32_t(day) << 16
        | uint32_t(hour) << 11 | uint32_t(minute) << 5 | uint32_t(second / 2);
}

} // namespace

std::optional<uint32_t> PackDosTime(const QDateTime& local)
{
    if (!local.isValid())
        return std::nullopt;
    const QDateTime inZone = local.toLocalTime();
    const QDate d = inZone.date();
    const QTime t = inZone.time();
    return packFields(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

std::optional<uint32_t> PackDosTime(time_t unixTime)
{
    struct tm fields {};
    if (!localtime_r(&unixTime, &fields))
        return std::nullopt;
    return packFields(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                      fields.tm_hour, fields.tm_min, fields.tm_sec);
}

std::optional<std::pair<QDate, QTime>> UnpackDosFields(uint32_t packed)
{
    const int year = FirstYear + int(packed >> 25);
    const int month = (packed >> 21) & 0x0F;
    const int day = (packed >> 16) & 0x1F;
    const int hour = (packed >> 11) & 0x1F;
    const int minute = (packed >> 5) & 0x3F;
    const int halfSeconds = packed & 0x1F;
    if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || halfSeconds > 29)
        return std::nullopt;
    const QDate date(year, month, 1);
    if (day > date.daysInMonth())
        return std::nullopt;
    return std::pair{QDate(year, month, day), QTime(hour, minute, halfSeconds * 2)};
}

std::optional<QDateTime> UnpackDosTime(uint32_t packed)
{
    const auto fields = UnpackDosFields(packed);
    if (!fields)
        return std::nullopt;
    const auto& [date, time] = *fields;
    QDateTime local(date, time);
    if (local.isValid())
        return local;
    // The wall time falls into a daylight-saving gap, which Qt refuses. Stamps written
    // in another zone can land there; read it with the offset in force before the gap,
    // which moves it forward by the gap's length, rather than losing the stamp.
    const QDateTime before(date.addDays(-1), time);
    if (!before.isValid())
        return std::nullopt;
    local = QDateTime(date, time, Qt::OffsetFromUTC, before.offsetFromUtc()).toLocalTime();
    if (!local.isValid())
        return std::nullopt;
    return local;
}
