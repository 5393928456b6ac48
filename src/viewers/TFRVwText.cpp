#include "viewers/TFRVwText.h"

TFRVwText::TFRVwText(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FRVwText"));
    setAccessibleName(QStringLiteral("FRVwText"));
}

void TFRVwText::SetFileName(const QString& path)
{
    m_fileName = path;
}

void TFRVwText::Deactivate()
{
    m_fileName.clear();
}
