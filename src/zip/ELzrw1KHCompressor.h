// Raised by the LZRW1-KH chunk codec: no memory for its hash table, or a damaged chunk.
#pragma once

#include "zip/ECompressError.h"

class ELzrw1KHCompressor : public ECompressError {
public:
    using ECompressError::ECompressError;
};
