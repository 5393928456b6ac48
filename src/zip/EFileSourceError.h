// A held file that cannot be stored or written out; Text() is for the user. It is a
// compression error too, so that one catch serves everything loading can raise.
#pragma once

#include "zip/ECompressError.h"

class EFileSourceError : public ECompressError {
public:
    using ECompressError::ECompressError;
};
