#include "viewers/ViewerChoice.h"

#include "core/TextOrder.h"

QString ViewerChoice::UpperExt(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : AsciiUpper(name.mid(dot));
}

ViewerKind ViewerChoice::Choose(const Facts& facts, bool asText, bool info)
{
    // Folders, volumes and ".." get the information page whatever their names say:
    // a folder called "x.gif" is no picture, and no viewer can read a folder.
    if (info || !facts.IsFile)
        return ViewerKind::Info;
    if (asText)
        return ViewerKind::Text;
    const QString ext = UpperExt(facts.Name);
    auto is = [&ext](std::initializer_list<const char*> exts) {
        for (const char* e : exts)
            if (ext == QLatin1String(e))
                return true;
        return false;
    };
    if (is({".TXT"}))
        return ViewerKind::Text;
    if (facts.RarMagic || is({".RAR"}))
        return ViewerKind::ArchiveRar;
    if (is({".ACE"}) || facts.AceMagic)
        return ViewerKind::ArchiveAce;
    if (is({".VOX"}))
        return ViewerKind::Vox;
    if (is({".JPG", ".BMP", ".GIF"}))
        return ViewerKind::Image;
    if (is({".WAV", ".MID", ".AVI"}))
        return ViewerKind::Music;
    return ViewerKind::Text;
}
