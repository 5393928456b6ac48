// The close question (see TDlgCloseQuery.h).
#include "app/TDlgCloseQuery.h"

#include "app/CloseRules.h"
#include "components/GradientBand.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#include <cstdlib>
#endif

namespace {

// No close box under any window manager. Qt leaves out the Motif "functions" field for
// a window that asks for no title-bar button at all, which window managers read as
// "everything allowed", so the window states its functions itself: move only. Openbox
// ignores a missing close function and keeps the close box while there is a title
// bar, so the window asks for a border alone and shows its caption inside itself.
void forbidWindowManagerClose(QWidget* window)
{
#if QT_CONFIG(xcb)
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || xcb_connection_has_error(connection))
        return;
    static const char name[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof(name) - 1, name), nullptr);
    if (!atom)
        return;
    enum : uint32_t {
        HintsFunctions = 1u << 0,
        HintsDecorations = 1u << 1,
        FuncMove = 1u << 2,
        DecorBorder = 1u << 1,
    };
    // flags, functions, decorations, input mode, status
    const uint32_t hints[5] = {HintsFunctions | HintsDecorations, FuncMove, DecorBorder, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), atom->atom, atom->atom,
                        32, 5, hints);
    xcb_flush(connection);
    std::free(atom);
#else
    Q_UNUSED(window);
#endif
}

} // namespace

TDlgCloseQuery::TDlgCloseQuery(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("DlgCloseQuery"));
    setWindowTitle(tr("Close confirmation"));
    setAccessibleName(tr("Close confirmation"));
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(windowTitle(), this);
    caption->setObjectName(QStringLiteral("LBCaption"));
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    layout->addWidget(caption);
    auto* band = new GradientBand(tr("You have requested to quit Dorvane"), this);
    layout->addWidget(band);
    auto* reminder = new QLabel(tr("Please, remember that you can minimize Dorvane to the TaskBar with one "
                                   "HOT KEY and then recall it with the same HOT KEY."),
                                this);
    reminder->setWordWrap(true);
    layout->addWidget(reminder);
    layout->addWidget(new QLabel(tr("Do you really want to quit Dorvane?"), this));

    auto* grid = new QGridLayout;
    struct Answer {
        const char* name;
        const char* caption;
        int result;
    };
    static const Answer answers[] = {
        {"BitBtn4", QT_TRANSLATE_NOOP("TDlgCloseQuery", "Yes!"), CloseYes},
        {"BitBtn1", QT_TRANSLATE_NOOP("TDlgCloseQuery", "No!"), CloseNo},
        {"BitBtn6", QT_TRANSLATE_NOOP("TDlgCloseQuery", "Minimize!"), CloseMinimize},
        {"BitBtn2", QT_TRANSLATE_NOOP("TDlgCloseQuery", "Yes! Always quit in the future"), CloseAlwaysQuit},
        {"BitBtn3", QT_TRANSLATE_NOOP("TDlgCloseQuery", "No! Never quit in the future"), CloseNeverQuit},
        {"BitBtn5", QT_TRANSLATE_NOOP("TDlgCloseQuery", "No! Always minimize in the future"), CloseAlwaysMinimize},
    };
    int i = 0;
    for (const Answer& a : answers) {
        auto* b = new QPushButton(tr(a.caption), this);
        b->setObjectName(QLatin1String(a.name));
        b->setAccessibleName(b->text());
        const int result = a.result;
        connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
        grid->addWidget(b, i / 3, i % 3);
        if (result == CloseAlwaysMinimize) {
            b->setDefault(true);
            b->setFocus();
        }
        ++i;
    }
    layout->addLayout(grid);
    adjustSize();
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TDlgCloseQuery::reject()
{
    // Escape would otherwise end the dialog with a result that is no answer, which
    // the close rules read as "quit".
}

void TDlgCloseQuery::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

void TDlgCloseQuery::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    forbidWindowManagerClose(this);
}
