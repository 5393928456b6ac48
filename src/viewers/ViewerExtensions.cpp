#include "viewers/ViewerExtensions.h"

#include "core/TextOrder.h"

ViewerExtensions::ViewerExtensions()
{
    struct Initial {
        const char* ext;
        bool builtIn;
        bool associate;
        int icon;
    };
    static const Initial initial[] = {
        {".BMP", true, false, 10}, {".GIF", true, false, 0}, {".JPG", true, false, 11}, {".WAV", true, true, 7},
        {".AVI", true, false, 8},  {".MID", true, true, 9},  {".TXT", true, true, 2},   {".VOX", true, true, 5},
        {".RAR", true, true, 3},   {".ACE", true, true, 4},  {".DIZ", false, true, 12}, {".NFO", false, true, 13},
        {".INF", false, true, 14}, {".INI", false, true, 15},
    };
    for (const Initial& row : initial)
        m_rows.push_back({QLatin1String(row.ext), true, row.builtIn, row.associate, row.icon});
}

QString ViewerExtensions::NormalizedExt(const QString& text)
{
    QString ext = text.startsWith(QLatin1Char('.')) ? text : QLatin1Char('.') + text;
    return AsciiUpper(ext).left(9);
}

TViewerExtension* ViewerExtensions::Find(const QString& ext)
{
    const QString upper = AsciiUpper(ext);
    for (TViewerExtension& row : m_rows)
        if (row.Ext == upper)
            return &row;
    return nullptr;
}

bool ViewerExtensions::Append(const QString& ext, bool enabled, bool builtIn)
{
    if (Count() >= kCapacity)
        return false;
    m_rows.push_back({NormalizedExt(ext), enabled, builtIn, false, 0});
    return true;
}

bool ViewerExtensions::IsViewable(const QString& fileName) const
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QString ext = AsciiUpper(fileName.mid(dot));
    for (const TViewerExtension& row : m_rows)
        if (row.Enabled && row.Ext == ext)
            return true;
    return false;
}

int ViewerExtensions::IconIndexOf(const QString& ext) const
{
    const QString upper = AsciiUpper(ext);
    if (upper == QLatin1String(".ZIP"))
        return 1;
    int index = 0;
    for (const TViewerExtension& row : m_rows)
        if (row.Ext == upper)
            index = row.IconIndex;
    return index;
}
