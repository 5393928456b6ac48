// A GIF colour table: how many entries the file says it has, and room for 256.
#pragma once

#include <array>
#include <cstdint>

class GifStream;

struct TRgb {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;
    bool operator==(const TRgb&) const = default;
};

class TColorTable {
public:
    // Filled with a stock palette: 0 or 2 entries black and white, 16 the VGA colours,
    // 256 a grey ramp; other counts black.
    explicit TColorTable(int count = 0);

    int Count() const { return m_count; }
    // Any index 0..255, whatever the count.
    const TRgb& Entry(int index) const { return m_entries[uint8_t(index)]; }
    // Replaces the first Count() entries with the stream's RGB triples.
    void Read(GifStream& stream);

private:
    uint16_t m_count = 0;
    std::array<TRgb, 256> m_entries{};
};
