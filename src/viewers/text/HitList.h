// The offsets of a search's hits, 8 bytes each in fixed chunks: a common letter in a
// large file has hundreds of millions of them, and a growing vector would copy them all
// on every doubling and hold twice their size meanwhile.
#pragma once

#include <QtGlobal>
#include <memory>
#include <utility>
#include <vector>

class HitList {
public:
    static constexpr int kChunkShift = 16;
    static constexpr size_t kChunkSize = size_t(1) << kChunkShift;

    HitList() = default;
    HitList(HitList&& other) noexcept
        : m_chunks(std::move(other.m_chunks))
        , m_size(std::exchange(other.m_size, 0))
    {
    }
    HitList& operator=(HitList&& other) noexcept
    {
        m_chunks = std::move(other.m_chunks);
        m_size = std::exchange(other.m_size, 0);
        return *this;
    }

    void Add(qint64 offset)
    {
        if ((m_size & (kChunkSize - 1)) == 0)
            m_chunks.push_back(std::make_unique<qint64[]>(kChunkSize));
        m_chunks.back()[m_size & (kChunkSize - 1)] = offset;
        ++m_size;
    }
    qint64 At(size_t index) const { return m_chunks[index >> kChunkShift][index & (kChunkSize - 1)]; }
    size_t Size() const { return m_size; }
    bool Empty() const { return m_size == 0; }
    std::vector<qint64> ToVector() const;

private:
    std::vector<std::unique_ptr<qint64[]>> m_chunks;
    size_t m_size = 0;
};
