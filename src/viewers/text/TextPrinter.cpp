#include "viewers/text/TextPrinter.h"

#include "platform/TMessages.h"
#include "viewers/text/TTextView.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

bool TextPrinter::Print(const TTextView& view, QPrinter& printer)
{
    const TTextView::Cell start = view.SelectionStart();
    const TTextView::Cell end = view.SelectionEnd();
    if (start == end) {
        MessageBeep();
        return false;
    }
    printer.setDocName(QStringLiteral("Text File"));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    painter.setFont(font);
    const QFontMetrics metrics(font, &printer);
    const int lineHeight = std::max(1, metrics.height());
    const QRect page = painter.viewport();
    const int linesPerPage = std::max(1, page.height() / lineHeight - 5);
    QFont small = font;
    small.setPointSize(8);
    int pageNumber = 1;
    int row = 0;
    auto pageHeader = [&] {
        if (!view.PrintPageNum())
            return;
        painter.setFont(small);
        const int left = page.width() - QFontMetrics(font, &printer).horizontalAdvance(QString(11, QLatin1Char(' ')));
        painter.drawText(left, lineHeight / 2 + QFontMetrics(small, &printer).ascent(),
                         QStringLiteral("Page : %1").arg(pageNumber));
        painter.setFont(font);
    };
    pageHeader();
    for (qint64 line = start.Line; line <= end.Line; ++line) {
        if (row == linesPerPage) {
            printer.newPage();
            ++pageNumber;
            row = 0;
            pageHeader();
        }
        painter.drawText(10, (2 + row) * lineHeight + metrics.ascent(), view.FormattedLine(line));
        ++row;
    }
    return painter.end();
}
