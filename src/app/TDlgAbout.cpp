#include "app/TDlgAbout.h"

#include "app/AppIcon.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TDlgAbout::TDlgAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("DlgAbout"));
    setWindowTitle(tr("About Dorvane"));
    setAccessibleName(tr("About Dorvane"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcon::Make().pixmap(48, 48));
    row->addWidget(icon);
    auto* text = new QLabel(tr("<b>Dorvane</b> %1<br>A two-pane file manager.<br>"
                               "Built with Qt %2.")
                                .arg(QStringLiteral(DORVANE_VERSION), QString::fromLatin1(qVersion())),
                            this);
    text->setObjectName(QStringLiteral("AboutText"));
    row->addWidget(text, 1);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
