// The DOS code page zip tools on FAT and OS/2 wrote names in.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace Cp437 {

// Bytes below 128 stay as they are; the others map through the code page.
QString ToText(QByteArrayView bytes);

} // namespace Cp437
