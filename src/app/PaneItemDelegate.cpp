#include "app/PaneItemDelegate.h"

#include "app/AppSettings.h"
#include "app/CellTexts.h"
#include "app/DriveSpace.h"
#include "app/ExtIconCache.h"
#include "app/PaneDrawContext.h"
#include "app/PaneGlyphs.h"
#include "app/TDirData.h"
#include "platform/TMessages.h"
#include "platform/TSysImageList.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>

namespace {

const QString kEllipsis = QStringLiteral("...");

QString fileExtension(const QString& name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

// Drawing goes on after a failure; the report names where it happened.
void reportDrawError(const char* where)
{
    TMessages::Show(MsgKind::Plain, PaneItemDelegate::tr("INTERNAL SOFTWARE ERROR in ") + QLatin1String(where));
}

} // namespace

PaneItemDelegate::PaneItemDelegate(TDirData& pane, const PaneDrawContext& context, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_pane(pane)
    , m_context(context)
{
}

QSize PaneItemDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(100, kPaneRowHeight);
}

PaneItemDelegate::Cell PaneItemDelegate::cell(int section, const QRect& row) const
{
    if (!m_pane.Header)
        return {row.left() + 1, 100};
    return {row.left() + m_pane.Header->sectionPosition(section) + 1, m_pane.Header->sectionSize(section)};
}

void PaneItemDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int row = index.row();
    if (row < 0 || row >= m_pane.Count)
        return;
    TFileData& e = *m_pane.Item(row);
    const QRect r = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    p->save();
    p->fillRect(r, selected ? pal.highlight() : pal.base());
    p->setPen(selected ? pal.highlightedText().color() : pal.text().color());
    p->setFont(option.font);
    const QFontMetrics fm(option.font);

    drawIcon(p, r, e);

    const int nameWidth = cell(0, r).width - 16 - 2;
    // The model's text, not the raw name: undecodable bytes and direction controls are
    // made readable there, once for drawing, keyboard search and screen readers.
    const QString name = CellTexts::FitText(fm, index.data(Qt::DisplayRole).toString(), nameWidth, kEllipsis, true);
    p->drawText(QRect(r.left() + 16 + 2, r.top(), std::max(0, nameWidth), r.height()),
                Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);

    if (e.Kind == fkDrive) {
        if (m_context.Space && m_context.ShowsDriveSpace && m_context.ShowsDriveSpace(e.Name))
            drawSizeText(p, r, CellTexts::DriveSpaceText(m_context.Space->DriveFreeBytes(e.Name),
                                                          m_context.Space->DriveTotalBytes(e.Name)));
    } else {
        drawSizeText(p, r, EntryTexts::Size(e, m_context.Settings && m_context.Settings->ShowBigSize));
        const Cell c = cell(2, r);
        const QString time = CellTexts::FitText(fm, EntryTexts::Time(e), c.width - 3, kEllipsis, false);
        p->drawText(QRect(c.left, r.top(), std::max(0, c.width - 2), r.height()),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, time);
        drawDescription(p, r, e);
    }
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.rect = r;
        focus.state = option.state;
        focus.backgroundColor = selected ? pal.highlight().color() : pal.base().color();
        QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p);
    }
    p->restore();
}

void PaneItemDelegate::drawIcon(QPainter* p, const QRect& r, TFileData& e) const
{
    const QRect iconRect(r.left(), r.top(), 16, 16);
    try {
        TSysImageList& images = TSysImageList::Instance();
        if (e.SysImageList == 0) {
            // The icon has not arrived from the background yet: ask once and keep it.
            if (e.Kind == fkDrive)
                e.SysIconIndex = images.DriveIndex();
            else if (e.Kind == fkDirectory)
                e.SysIconIndex = images.FolderIndex();
            else if (m_pane.ArchiveDepth > 0)   // a member has no path to look at
                e.SysIconIndex = images.IndexForFileName(e.Name);
            else
                e.SysIconIndex = images.IndexForPath(m_pane.Path + e.Name);
            e.SysImageList = images.Handle();
        }
        if (e.SysImageList != 0) {
            images.Icon(e.SysIconIndex).paint(p, iconRect);
            return;
        }
    } catch (const std::exception&) {
        reportDrawError("IMAGELIST_DRAW (01)");
    }
    try {
        if (e.Kind == fkFile && m_context.IconCache) {
            if (auto cached = m_context.IconCache->Find(fileExtension(e.Name))) {
                TSysImageList::Instance().Icon(cached->Index).paint(p, iconRect);
                return;
            }
        }
    } catch (const std::exception&) {
        reportDrawError("FOUNDINCACHE function");
    }
    if (e.Kind == fkDirectory)
        m_context.FolderFallback.paint(p, iconRect);
    else if (e.Kind == fkFile)
        m_context.FileFallback.paint(p, iconRect);
}

void PaneItemDelegate::drawSizeText(QPainter* p, const QRect& r, const QString& text) const
{
    if (text.isEmpty())
        return;
    const Cell c = cell(1, r);
    const QFontMetrics fm(p->font());
    const QString shown = CellTexts::FitText(fm, text, c.width - 3, kEllipsis, false);
    const int x = c.left + c.width - fm.horizontalAdvance(shown) - 3;
    p->drawText(QPoint(x, r.top() + (r.height() + fm.ascent() - fm.descent()) / 2), shown);
}

void PaneItemDelegate::drawDescription(QPainter* p, const QRect& r, const TFileData& e) const
{
    const Cell c = cell(3, r);
    int j = 0;
    const AppSettings* s = m_context.Settings;
    const int iconTop = r.top() + (r.height() - 16) / 2;
    if (s && s->ShowSupported) {
        j = 16;
        if (e.Kind == fkFile && m_context.IsViewable && m_context.IsViewable(e.Name))
            p->drawPixmap(c.left, iconTop, PaneGlyphs::Marker(2));
    }
    if (s && s->ShowAttrs) {
        if (e.Attributes & 0x02) {
            p->drawPixmap(c.left + j, iconTop, PaneGlyphs::Marker(1));
            j += 16;
        }
        if (e.Attributes & 0x01) {
            p->drawPixmap(c.left + j, iconTop, PaneGlyphs::Marker(3));
            j += 16;
        }
    }
    if (e.Description.isEmpty())
        return;
    const QFontMetrics fm(p->font());
    const QString shown = CellTexts::FitText(fm, e.Description, c.width - j - 3, QString(), false);
    p->drawText(QRect(c.left + j, r.top(), std::max(0, c.width - j - 2), r.height()),
                Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}
