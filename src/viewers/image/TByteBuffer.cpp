#include "viewers/image/TByteBuffer.h"

void TByteBuffer::AddBlock(const QByteArray& file, QByteArrayView block)
{
    if (!m_file.isSharedWith(file))
        m_file = file;
    m_blocks.push_back(block);
    m_size += block.size();
}
