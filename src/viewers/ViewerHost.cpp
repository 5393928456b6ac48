#include "viewers/ViewerHost.h"

#include "platform/TWaitProcessEnd.h"
#include "platform/DesktopLauncher.h"
#include "platform/FileNames.h"
#include "platform/TMessages.h"
#include "viewers/FileMagic.h"
#include "viewers/TFRVwFileInfo.h"
#include "viewers/TFRVwText.h"
#include "viewers/ViewerChoice.h"
#include "viewers/ViewerExtensions.h"
#include "viewers/image/EImageError.h"
#include "viewers/image/TFRVwImage.h"

#include <QVBoxLayout>
#include <cerrno>
#include <unistd.h>

ViewerHost::ViewerHost(const ViewerExtensions& extensions, QWidget* window)
    : QObject(window)
    , m_extensions(extensions)
    , m_window(window)
    , m_views(new QWidget(window))
{
    m_views->setObjectName(QStringLiteral("views"));
    m_views->setAccessibleName(QStringLiteral("views"));
    auto* layout = new QVBoxLayout(m_views);
    layout->setContentsMargins(0, 0, 0, 0);
    m_views->hide();
    ImageFrame();
    TextFrame();
    InfoFrame();
    hideFrames();
}

ViewerHost::~ViewerHost()
{
    removeViewerTempFile();
}

bool ViewerHost::IsShown() const
{
    return m_views->isVisible();
}

bool ViewerHost::IsViewable(const QString& name) const
{
    return m_extensions.IsViewable(name);
}

template <typename Frame>
static Frame* frameOf(QPointer<Frame>& frame, QWidget* views)
{
    // A frame closed or deleted by its own viewer is made anew on the next showing.
    if (!frame) {
        frame = new Frame(views);
        frame->setAccessibleName(frame->objectName());
        views->layout()->addWidget(frame);
        frame->hide();
    }
    return frame;
}

TFRVwImage* ViewerHost::ImageFrame() { return frameOf(m_image, m_views); }
TFRVwText* ViewerHost::TextFrame()
{
    if (m_text)
        return m_text;
    TFRVwText* frame = frameOf(m_text, m_views);
    connect(frame, &TFRVwText::CloseRequested, this, &ViewerHost::CloseRequested);
    connect(frame, &TFRVwText::EditorOpening, this, &ViewerHost::EditorOpening);
    connect(frame, &TFRVwText::EditorClosed, this, &ViewerHost::EditorClosed);
    return frame;
}
TFRVwFileInfo* ViewerHost::InfoFrame() { return frameOf(m_info, m_views); }

void ViewerHost::Enter(QWidget* viewerPanel)
{
    if (m_views->parentWidget() != viewerPanel) {
        m_views->setParent(viewerPanel);
        if (!viewerPanel->layout()) {
            auto* layout = new QVBoxLayout(viewerPanel);
            layout->setContentsMargins(0, 0, 0, 0);
        }
        viewerPanel->layout()->addWidget(m_views);
    }
    m_views->show();
    m_views->raise();
}

void ViewerHost::Leave()
{
    m_views->hide();
    hideFrames();
    StopViewers();
}

void ViewerHost::hideFrames()
{
    for (QWidget* frame : {static_cast<QWidget*>(m_image.data()), static_cast<QWidget*>(m_text.data()),
                           static_cast<QWidget*>(m_info.data())})
        if (frame)
            frame->hide();
}

void ViewerHost::showFrame(QWidget* frame)
{
    hideFrames();
    frame->show();
}

void ViewerHost::Show(const Item& item, bool asText, bool info)
{
    const QString path = item.Folder + item.Name;
    ViewerChoice::Facts facts;
    facts.Name = item.Name;
    facts.IsFile = item.IsFile;
    if (item.IsFile) {
        facts.RarMagic = FileMagic::IsRarFile(path);
        facts.AceMagic = FileMagic::IsAceFile(path);
    }
    switch (ViewerChoice::Choose(facts, asText, info)) {
    case ViewerKind::Image:
        showFrame(ImageFrame());
        try {
            m_image->Load(path);
        } catch (const EImageError& e) {
            TMessages::Show(MsgKind::Error, e.Text(), MsgButtons::Ok, m_window);
        } catch (const std::bad_alloc&) {
            TMessages::Show(MsgKind::Error, tr("Not enough memory to show %1.").arg(DisplayFileName(path)),
                            MsgButtons::Ok, m_window);
        }
        break;
    case ViewerKind::Info:
        showFrame(InfoFrame());
        m_info->ShowPath(path);
        break;
    default:
        // Music, VOX and archive files are shown as text until their viewers exist.
        showFrame(TextFrame());
        m_text->SetFileName(path);
        break;
    }
}

void ViewerHost::StopViewers()
{
    if (m_image)
        m_image->Clear();
    if (m_text)
        m_text->Deactivate();
    removeViewerTempFile();
}

void ViewerHost::removeViewerTempFile()
{
    if (m_viewerTempFile.isEmpty())
        return;
    const QString path = m_viewerTempFile;
    m_viewerTempFile.clear();
    if (::unlink(EncodeFileName(path).constData()) != 0 && errno != ENOENT)
        TMessages::Show(MsgKind::Warning, tr("Unable to delete %1\nMay be it is still in use...").arg(path),
                        MsgButtons::Ok, m_window);
}

bool ViewerHost::Launch(const QString& path, const QString& workingDir, const QString& temporaryCopy)
{
    const LaunchResult started = DesktopLauncher::Open(path, workingDir);
    if (!started.Started())
        return false;
    // Reaps the program when it ends and only then removes the copy it was given.
    new TWaitProcessEnd(started.Pid, temporaryCopy);
    return true;
}
