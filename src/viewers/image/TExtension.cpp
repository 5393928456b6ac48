#include "viewers/image/TExtension.h"

#include "viewers/image/EGifException.h"
#include "viewers/image/GifStream.h"

TExtension TExtension::Read(GifStream& stream)
{
    TExtension extension;
    const uint8_t label = stream.ReadByte();
    switch (label) {
    case 0xF9:
        extension.m_kind = TExtensionKind::GraphicControl;
        extension.m_fields = stream.Read(6);
        return extension;
    case 0x01:
        extension.m_kind = TExtensionKind::PlainText;
        extension.m_fields = stream.Read(13);
        break;
    case 0xFF:
        extension.m_kind = TExtensionKind::Application;
        extension.m_fields = stream.Read(12);
        break;
    case 0xFE:
        extension.m_kind = TExtensionKind::Comment;
        break;
    default:
        throw EGifException(tr("Unrecognized extension block.\r\nCode = $%1")
                                .arg(QString::number(label, 16).rightJustified(2, QLatin1Char('0')).toUpper()));
    }
    for (QByteArrayView block = stream.ReadSubBlock(); !block.isEmpty(); block = stream.ReadSubBlock())
        extension.m_subBlocks.append(block.toByteArray());
    return extension;
}
