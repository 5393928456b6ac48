#include "app/TDlgSelectDir.h"

#include "components/GradientBand.h"
#include "platform/DriveList.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TDlgSelectDir::TDlgSelectDir(QWidget* parent)
    : QDialog(parent)
    , m_drives(new QComboBox(this))
    , m_directories(new QListView(this))
    , m_model(new QFileSystemModel(this))
    , m_name(new QLineEdit(this))
{
    setObjectName(QStringLiteral("DlgSelectDir"));
    setWindowTitle(tr("Select directory"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new GradientBand(tr("Select destination directory"), this));
    m_drives->setObjectName(QStringLiteral("DriveComboBox"));
    m_drives->setAccessibleName(tr("Drive"));
    for (const TVolume& v : ListVolumes())
        m_drives->addItem(v.mountPoint);
    layout->addWidget(m_drives);
    m_model->setFilter(QDir::AllDirs | QDir::NoDot | QDir::Hidden);
    m_model->setRootPath(QStringLiteral("/"));
    m_directories->setObjectName(QStringLiteral("LBDirectories"));
    m_directories->setAccessibleName(tr("Directories"));
    m_directories->setModel(m_model);
    layout->addWidget(m_directories, 1);
    m_name->setObjectName(QStringLiteral("EDDirectoryName"));
    m_name->setAccessibleName(tr("Directory name"));
    layout->addWidget(m_name);
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton(tr("&OK"), this);
    ok->setObjectName(QStringLiteral("BTNOk"));
    ok->setFlat(true);
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("BTNCancel"));
    cancel->setFlat(true);
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_drives, &QComboBox::textActivated, this, &TDlgSelectDir::showFolder);
    connect(m_directories, &QListView::activated, this,
            [this](const QModelIndex& index) { showFolder(QDir::cleanPath(m_model->filePath(index))); });
    SetDirectory(QDir::currentPath());
    resize(420, 420);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TDlgSelectDir::showFolder(const QString& folder)
{
    m_directories->setRootIndex(m_model->index(folder));
    m_name->setText(folder);
    const int drive = m_drives->findText(VolumeRootOf(folder, ListVolumes()));
    if (drive >= 0)
        m_drives->setCurrentIndex(drive);
}

void TDlgSelectDir::SetDirectory(const QString& folder)
{
    showFolder(QDir::cleanPath(folder));
}

QString TDlgSelectDir::Directory() const
{
    return m_name->text();
}
