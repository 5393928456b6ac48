#include "viewers/image/TFRVwImage.h"

#include "viewers/image/TEnhImage.h"

#include <QVBoxLayout>

TFRVwImage::TFRVwImage(QWidget* parent)
    : QWidget(parent)
    , m_image(new TEnhImage(this))
{
    setObjectName(QStringLiteral("FRVwImage"));
    m_image->setObjectName(QStringLiteral("VWImage"));
    m_image->SetCenter(true);
    m_image->SetScaleStyle(TEnhImage::ssScale);
    m_image->SetShowHint(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_image);
}

void TFRVwImage::Load(const QString& path)
{
    Clear();
    m_image->LoadFromFile(path);
    const QImage& picture = m_image->Picture();
    if (!picture.isNull())
        SetHint(tr("%1x%2 pixel").arg(picture.width()).arg(picture.height()));
}

void TFRVwImage::Clear()
{
    m_image->Clear();
    SetHint({});
}

void TFRVwImage::SetHint(const QString& hint)
{
    m_hint = hint;
    m_image->setToolTip(hint);
}
