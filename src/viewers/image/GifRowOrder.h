// The order in which a GIF image's rows arrive: top to bottom, or interlaced in four
// passes (every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1).
#pragma once

class GifRowOrder {
public:
    GifRowOrder(int height, bool interlaced);

    // 0-based; Height or more once every row has had its turn.
    int Row() const { return m_row; }
    void Advance();

private:
    void SkipPassesPastTheEnd();

    int m_height;
    bool m_interlaced;
    int m_pass = 0;
    int m_row = 0;
};
