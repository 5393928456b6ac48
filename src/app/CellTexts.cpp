#include "app/CellTexts.h"

#include "core/NumberFormat.h"

#include <QCoreApplication>

QString CellTexts::SizeText(int64_t value)
{
    if (value > 1022976)
        return FormatFloat(QStringLiteral("###,##0.#"), double(value) / 1048576.0)
               + QCoreApplication::translate("CellTexts", " MB");
    if (value < 1000)
        return FormatFloat(QStringLiteral("###,##0"), double(value));
    return FormatFloat(QStringLiteral("###,##0.#"), double(value) / 1024.0)
           + QCoreApplication::translate("CellTexts", " KB");
}

QString CellTexts::DriveSpaceText(int64_t freeBytes, int64_t totalBytes)
{
    return FormatFloat(QStringLiteral(",0"), double(freeBytes) / 1024.0 / 1024.0) + QLatin1Char('/')
        + FormatFloat(QStringLiteral(",0"), double(totalBytes) / 1024.0 / 1024.0);
}

namespace {

// Keeps n units of the text from one side, moving the cut off a surrogate pair.
QString keep(const QString& text, qsizetype n, bool fromStart)
{
    if (fromStart) {
        if (n > 0 && n < text.size() && text.at(n - 1).isHighSurrogate())
            --n;
        return text.left(n);
    }
    qsizetype start = text.size() - n;
    if (start > 0 && start < text.size() && text.at(start).isLowSurrogate())
        ++start;
    return text.mid(start);
}

} // namespace

QString CellTexts::FitText(const QFontMetrics& fm, const QString& text, int width,
                           const QString& mark, bool atEnd)
{
    if (fm.horizontalAdvance(text) <= width)
        return text;
    const int markWidth = fm.horizontalAdvance(mark);
    // Widths grow with length, so the longest part that fits is found by bisection
    // instead of removing one character at a time.
    qsizetype lo = 0;
    qsizetype hi = text.size() - 1;
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (markWidth + fm.horizontalAdvance(keep(text, mid, atEnd)) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QString part = keep(text, lo, atEnd);
    return atEnd ? part + mark : mark + part;
}

#include "app/TFileData.h"
#include "core/DateTexts.h"

QString EntryTexts::Size(const TFileData& e, bool showBigSize)
{
    if (e.Kind == fkDrive || (e.Kind == fkDirectory && e.Size == -1))
        return {};
    const int64_t value = (e.Kind == fkDirectory && showBigSize) ? e.AllocatedSize : e.Size;
    return CellTexts::SizeText(value);
}

QString EntryTexts::Time(const TFileData& e)
{
    return e.Kind == fkDrive ? QString() : DosTimeCellText(e.Time);
}
