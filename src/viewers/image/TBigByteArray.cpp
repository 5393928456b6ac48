#include "viewers/image/TBigByteArray.h"

#include "viewers/image/EGifException.h"

TBigByteArray::TBigByteArray(qsizetype size)
    : m_size(size)
{
    if (size <= 0)
        return;
    // calloc takes large blocks straight from fresh zero pages: clearing costs nothing.
    m_bytes.reset(static_cast<uint8_t*>(std::calloc(size_t(size), 1)));
    if (!m_bytes)
        throw EGifException(tr("error in TBigByteArray.create: Not enough contiguous memory available\r\n"
                               " requested memory block: %1 bytes").arg(size));
}

void TBigByteArray::CheckRange(qsizetype index, qsizetype count) const
{
    if (index < 1 || count < 0 || count > m_size || index - 1 > m_size - count)
        ThrowOutOfBounds();
}

void TBigByteArray::ThrowOutOfBounds()
{
    throw EGifException(tr("Dynamic array index out of bounds"));
}

uint8_t TBigByteArray::At(qsizetype index) const
{
    return *Range(index, 1);
}

void TBigByteArray::Set(qsizetype index, uint8_t value)
{
    *Range(index, 1) = value;
}

uint8_t* TBigByteArray::Range(qsizetype index, qsizetype count)
{
    CheckRange(index, count);
    return m_bytes.get() + (index - 1);
}

const uint8_t* TBigByteArray::Range(qsizetype index, qsizetype count) const
{
    CheckRange(index, count);
    return m_bytes.get() + (index - 1);
}
