// Date and time texts of the pane rows. They are made while painting every row, so
// the locale and its short date format are looked up once per process.
#include "DateTexts.h"

#include "DosTime.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

struct ShortDateFormat {
    QLocale locale = QLocale::system();
    QString format = locale.dateFormat(QLocale::ShortFormat);
};

const ShortDateFormat& shortDateFormat()
{
    static const ShortDateFormat cached;
    return cached;
}

} // namespace

QString ShortDateText(const QDate& date)
{
    const ShortDateFormat& f = shortDateFormat();
    return f.locale.toString(date, f.format);
}

QString TimeText(const QTime& time)
{
    return time.toString(u"hh:mm");
}

QString DosTimeCellText(uint32_t packedDosTime)
{
    // The fields as packed, not resolved in the local zone: a stamp that falls into a
    // daylight-saving gap still reads as written.
    const auto fields = UnpackDosFields(packedDosTime);
    if (!fields)
        return QCoreApplication::translate("DateTexts", "<invalid date>");
    return ShortDateText(fields->first) + QLatin1Char(' ') + TimeText(fields->second);
}
