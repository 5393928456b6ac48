// A width x height byte matrix with rows numbered from 1, all rows in one block.
#pragma once

#include "viewers/image/TBigByteArray.h"

#include <QCoreApplication>

class TByteArray2D {
    Q_DECLARE_TR_FUNCTIONS(TByteArray2D)
public:
    TByteArray2D(int width = 0, int height = 0);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    uint8_t At(int row, int column) const;
    // The row's Width() bytes; throws for a row outside 1..Height().
    const uint8_t* Row(int row) const;
    // Throws when `length` is not the width or the row does not exist.
    void SetRow(int row, const uint8_t* bytes, qsizetype length);

private:
    // Checked by row number: with width 0 every row would fit the empty block.
    qsizetype StartOf(int row) const;

    int m_width = 0;
    int m_height = 0;
    TBigByteArray m_cells;
};
