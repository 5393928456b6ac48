// The LZW decoder of GIF image data: variable-width codes (up to 12 bits) read least
// significant bit first, with clear and end codes, filling a pixel matrix row by row.
// Runs on any thread; it never touches an event loop, the caller's row callback does.
#pragma once

#include "viewers/image/GifRowOrder.h"

#include <QCoreApplication>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class TByteArray2D;
class TByteBuffer;

class GifLzwDecoder {
    Q_DECLARE_TR_FUNCTIONS(GifLzwDecoder)
public:
    GifLzwDecoder(const TByteBuffer& input, int minCodeSize, bool interlaced, TByteArray2D& pixels,
                  const std::function<void()>& rowDecoded);

    // Stops quietly when the data runs out (the rows so far stay); throws EGifException
    // for a bad code size, a bad code, a full table not followed by a clear code, or
    // more pixels than the matrix holds.
    void Decode();

private:
    static constexpr int kMaxCodes = 4096;
    static constexpr int kMaxCodeWidth = 12;

    // A code's string is its prefix's string followed by its suffix; `first` and
    // `length` let the string be written straight into the row, back to front.
    struct Entry {
        uint16_t prefix;
        uint16_t length;
        uint8_t suffix;
        uint8_t first;
    };

    void DefineEntry(int entry, int prefix, uint8_t suffix);
    void Emit(int code);
    void EmitAcrossRows(int code, int length);
    // Writes the code's string to end just before `end`; returns where it starts.
    uint8_t* WriteStringBefore(int code, uint8_t* end) const;
    void StoreRow();

    const TByteBuffer& m_input;
    TByteArray2D& m_pixels;
    std::function<void()> m_rowDecoded;
    GifRowOrder m_rows;
    const int m_minCodeSize;
    const int m_clearCode;

    std::array<Entry, kMaxCodes> m_table{};
    std::array<uint8_t, kMaxCodes> m_spill{};
    std::vector<uint8_t> m_row;
    int m_column = 0;
};
