// The hint text is built from what the pane already knows about the item; nothing here
// touches the disk, so it can be made on every hover.
#include "ItemHint.h"

#include "core/DateTexts.h"
#include "core/DosTime.h"
#include "core/NumberFormat.h"

#include <QStringList>

namespace {

const QChar kLineBreak = u'\r';

QString GroupedNumber(double value)
{
    return FormatFloat(QStringLiteral(",0"), value);
}

} // namespace

QString ItemHint::Text(const HintEntry& entry)
{
    // A drive button has no item behind it: only the space it reports.
    if (entry.EntryKind == HintEntry::Kind::DriveButton)
        return SpaceLines(entry);
    QStringList lines{HeadLines(entry)};
    const QString flags = FlagsLine(entry);
    if (!flags.isEmpty())
        lines << flags;
    return lines.join(kLineBreak) + TailText(entry);
}

int ItemHint::MaxWidth(int listWidth)
{
    return listWidth < 240 ? 180 : listWidth * 3 / 4;
}

QString ItemHint::HeadLines(const HintEntry& entry)
{
    QStringList lines{entry.Name};
    switch (entry.EntryKind) {
    case HintEntry::Kind::Drive:
        // A drive carries no time stamp, so it gets no date line.
        if (entry.ShowsSpace)
            lines << SpaceLines(entry);
        break;
    case HintEntry::Kind::File:
        lines << DateLine(entry.DosTime) << tr("Size : ") + GroupedNumber(double(entry.Size)) + tr(" bytes");
        break;
    case HintEntry::Kind::Directory:
    case HintEntry::Kind::Parent:
        lines << DateLine(entry.DosTime) << FolderSizeLines(entry);
        break;
    case HintEntry::Kind::DriveButton:
        break;
    }
    return lines.join(kLineBreak);
}

QString ItemHint::SpaceLines(const HintEntry& entry)
{
    const auto kilobytes = [](int64_t bytes) { return GroupedNumber(double(bytes) / 1024.0) + tr(" KB"); };
    return QStringList{tr("Size : ") + kilobytes(entry.TotalBytes),
                       tr("Used : ") + kilobytes(entry.TotalBytes - entry.FreeBytes),
                       tr("Free : ") + kilobytes(entry.FreeBytes)}
        .join(kLineBreak);
}

QString ItemHint::DateLine(uint32_t dosTime)
{
    if (!UnpackDosFields(dosTime))
        return tr("<invalid date>");
    return DosTimeCellText(dosTime);
}

QString ItemHint::FolderSizeLines(const HintEntry& entry)
{
    if (!entry.SizeKnown)
        return tr("Total size : <unknown>");
    return QStringList{tr("Total size : ") + GroupedNumber(double(entry.Size)) + tr(" bytes"),
                       tr("Bytes used : ") + GroupedNumber(double(entry.AllocatedSize)),
                       tr("%1 dirs and %2 files").arg(entry.DirCount).arg(entry.FileCount)}
        .join(kLineBreak);
}

QString ItemHint::FlagsLine(const HintEntry& entry)
{
    QStringList flags;
    if (entry.EntryKind == HintEntry::Kind::File && entry.Viewable)
        flags << tr("Supported");
    if (entry.Hidden)
        flags << tr("Hidden");
    if (entry.Readonly)
        flags << tr("Readonly");
    return flags.join(QStringLiteral(", "));
}

QString ItemHint::TailText(const HintEntry& entry)
{
    QString tail = entry.Mp3Info;
    if (!entry.ZipComment.isEmpty())
        tail += kLineBreak + tr("Zip comment:") + kLineBreak + entry.ZipComment;
    if (!entry.Description.isEmpty())
        tail += kLineBreak + entry.Description;
    return tail;
}
