#include "viewers/image/TColorTable.h"

#include "viewers/image/GifStream.h"

namespace {

constexpr TRgb kVgaColors[16] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0}, {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128},   {128, 128, 128}, {192, 192, 192}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};

} // namespace

TColorTable::TColorTable(int count)
    : m_count(uint16_t(count))
{
    switch (count) {
    case 0:
    case 2:
        m_entries[1] = {255, 255, 255};
        break;
    case 16:
        for (int i = 0; i < 16; ++i)
            m_entries[i] = kVgaColors[i];
        break;
    case 256:
        for (int i = 0; i < 256; ++i)
            m_entries[i] = {uint8_t(i), uint8_t(i), uint8_t(i)};
        break;
    default:
        break;
    }
}

void TColorTable::Read(GifStream& stream)
{
    uint8_t triples[256 * 3];
    const int entries = m_count < 256 ? m_count : 256;
    stream.ReadInto(triples, entries * 3);
    for (int i = 0; i < entries; ++i)
        m_entries[i] = {triples[3 * i], triples[3 * i + 1], triples[3 * i + 2]};
}
