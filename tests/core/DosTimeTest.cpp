// Packed DOS stamps: round trips through the local zone, the limits of the format and
// the refusal of fields that name no real date or time.
#include "core/DateTexts.h"
#include "core/DosTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

constexpr uint32_t pack(int year, int month, int day, int hour, int minute, int second)
{
    return uint32_t(year - 1980) << 25 | uint32_t(month) << 21 | uint32_t(day) << 16
        | uint32_t(hour) << 11 | uint32_t(minute) << 5 | uint32_t(second / 2);
}

time_t localUnixTime(int year, int month, int day, int hour, int minute, int second)
{
    struct tm fields {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    return mktime(&fields);
}

// Switches the process to a zone with daylight saving for one test.
class ZoneOverride {
public:
    explicit ZoneOverride(const char* zone)
        : m_hadOld(getenv("TZ") != nullptr), m_old(m_hadOld ? getenv("TZ") : "")
    {
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneOverride()
    {
        if (m_hadOld)
            setenv("TZ", m_old.constData(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool m_hadOld;
    QByteArray m_old;
};

} // namespace

TEST(DosTime, datesSurviveRoundTrip)
{
    const int samples[][6] = {
        {1980, 1, 1, 0, 0, 0}, {1999, 12, 31, 23, 59, 58}, {2000, 2, 29, 12, 30, 10},
        {2024, 7, 15, 8, 5, 44}, {2107, 12, 31, 23, 59, 58},
    };
    for (const auto& s : samples) {
        SCOPED_TRACE(testing::Message() << s[0] << '-' << s[1] << '-' << s[2]);
        const uint32_t expected = pack(s[0], s[1], s[2], s[3], s[4], s[5]);
        EXPECT_EQ(PackDosTime(localUnixTime(s[0], s[1], s[2], s[3], s[4], s[5])), expected);
        const QDateTime local(QDate(s[0], s[1], s[2]), QTime(s[3], s[4], s[5]));
        EXPECT_EQ(PackDosTime(local), expected);
        const auto back = UnpackDosTime(expected);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, local);
    }
}

TEST(DosTime, oddSecondsRoundDown)
{
    EXPECT_EQ(PackDosTime(localUnixTime(2010, 5, 6, 7, 8, 59)), pack(2010, 5, 6, 7, 8, 58));
    EXPECT_EQ(UnpackDosTime(*PackDosTime(localUnixTime(2010, 5, 6, 7, 8, 1)))->time(), QTime(7, 8, 0));
}

TEST(DosTime, yearsOutsideTheFormatAreRefused)
{
    EXPECT_EQ(PackDosTime(localUnixTime(1979, 12, 31, 23, 59, 59)), std::nullopt);
    EXPECT_EQ(PackDosTime(localUnixTime(2108, 1, 1, 0, 0, 0)), std::nullopt);
    EXPECT_EQ(PackDosTime(QDateTime(QDate(1979, 12, 31), QTime(23, 59, 59))), std::nullopt);
    EXPECT_EQ(PackDosTime(QDateTime(QDate(2108, 1, 1), QTime(0, 0))), std::nullopt);
    EXPECT_EQ(PackDosTime(QDateTime()), std::nullopt);
}

TEST(DosTime, impossibleFieldsAreRefused)
{
    EXPECT_EQ(UnpackDosTime(0), std::nullopt);                      // month 0, day 0
    EXPECT_EQ(UnpackDosTime(pack(2000, 13, 1, 0, 0, 0)), std::nullopt);
    EXPECT_EQ(UnpackDosTime(pack(2000, 1, 0, 0, 0, 0)), std::nullopt);
    EXPECT_EQ(UnpackDosTime(pack(2001, 2, 29, 0, 0, 0)), std::nullopt);  // no leap year
    EXPECT_EQ(UnpackDosTime(pack(2000, 4, 31, 0, 0, 0)), std::nullopt);
    EXPECT_EQ(UnpackDosTime(pack(2000, 1, 1, 24, 0, 0)), std::nullopt);
    EXPECT_EQ(UnpackDosTime(pack(2000, 1, 1, 0, 60, 0)), std::nullopt);
    EXPECT_EQ(UnpackDosTime(pack(2000, 1, 1, 0, 0, 0) | 30), std::nullopt);  // 60 seconds
    EXPECT_TRUE(UnpackDosTime(pack(2000, 2, 29, 0, 0, 0)).has_value());
}

TEST(DosTime, stampInDaylightSavingGapIsKept)
{
    ZoneOverride zone("Europe/Berlin");
    const uint32_t inGap = pack(2021, 3, 28, 2, 30, 0);   // clocks jump 02:00 -> 03:00
    const auto unpacked = UnpackDosTime(inGap);
    ASSERT_TRUE(unpacked.has_value());
    EXPECT_EQ(unpacked->time(), QTime(3, 30));
    EXPECT_TRUE(DosTimeCellText(inGap).endsWith(" 02:30"));
}

TEST(DateTexts, cellTextShowsDateAndMinutesOrInvalid)
{
    EXPECT_EQ(DosTimeCellText(0), "<invalid date>");
    EXPECT_EQ(DosTimeCellText(pack(2000, 2, 30, 0, 0, 0)), "<invalid date>");
    const uint32_t stamp = pack(2023, 11, 4, 9, 7, 58);
    EXPECT_EQ(DosTimeCellText(stamp), ShortDateText(QDate(2023, 11, 4)) + " 09:07");
    EXPECT_EQ(TimeText(QTime(21, 5, 59)), "21:05");
}
