// A GIF file the decoder cannot read; Text() is the reason shown to the user.
#pragma once

#include "viewers/image/EImageError.h"

class EGifException : public EImageError {
public:
    using EImageError::EImageError;
};
