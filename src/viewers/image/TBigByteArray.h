// A byte array of one contiguous block, indexed from 1. It comes zero-filled, so
// whatever a decoder never writes reads as colour index 0, not as old heap contents.
#pragma once

#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>
#include <memory>

class TBigByteArray {
    Q_DECLARE_TR_FUNCTIONS(TBigByteArray)
public:
    // Throws EGifException when the block cannot be had.
    explicit TBigByteArray(qsizetype size = 0);

    qsizetype Size() const { return m_size; }
    uint8_t At(qsizetype index) const;
    void Set(qsizetype index, uint8_t value);
    // `count` bytes from `index` on, checked once as a whole for callers that copy rows.
    uint8_t* Range(qsizetype index, qsizetype count);
    const uint8_t* Range(qsizetype index, qsizetype count) const;

    [[noreturn]] static void ThrowOutOfBounds();

private:
    struct Free {
        void operator()(uint8_t* p) const { std::free(p); }
    };
    void CheckRange(qsizetype index, qsizetype count) const;

    std::unique_ptr<uint8_t, Free> m_bytes;
    qsizetype m_size = 0;
};
