// The compressed data of one image: its data sub-blocks in file order. The blocks are
// views into the file's bytes, which the buffer shares rather than copies: a large
// picture's data is megabytes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

class TByteBuffer {
public:
    // `block` lies inside `file`.
    void AddBlock(const QByteArray& file, QByteArrayView block);
    int BlockCount() const { return int(m_blocks.size()); }
    QByteArrayView Block(int index) const { return m_blocks[size_t(index)]; }
    qsizetype Size() const { return m_size; }

private:
    QByteArray m_file;
    std::vector<QByteArrayView> m_blocks;
    qsizetype m_size = 0;
};
