#include "viewers/image/TByteArray2D.h"

#include "viewers/image/EGifException.h"

#include <cstring>

TByteArray2D::TByteArray2D(int width, int height)
    : m_width(width)
    , m_height(height)
    , m_cells(qsizetype(width) * height)
{
}

qsizetype TByteArray2D::StartOf(int row) const
{
    if (row < 1 || row > m_height)
        TBigByteArray::ThrowOutOfBounds();
    return qsizetype(row - 1) * m_width + 1;
}

uint8_t TByteArray2D::At(int row, int column) const
{
    if (column < 1 || column > m_width)
        TBigByteArray::ThrowOutOfBounds();
    return m_cells.At(StartOf(row) + column - 1);
}

const uint8_t* TByteArray2D::Row(int row) const
{
    return m_cells.Range(StartOf(row), m_width);
}

void TByteArray2D::SetRow(int row, const uint8_t* bytes, qsizetype length)
{
    if (length != m_width)
        throw EGifException(tr("Row doesn't have equal number of elements as Matrix row"));
    uint8_t* target = m_cells.Range(StartOf(row), m_width);
    if (length > 0)
        std::memcpy(target, bytes, size_t(length));
}
