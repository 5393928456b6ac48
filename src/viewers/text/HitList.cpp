#include "viewers/text/HitList.h"

std::vector<qint64> HitList::ToVector() const
{
    std::vector<qint64> offsets;
    offsets.reserve(m_size);
    for (size_t i = 0; i < m_size; ++i)
        offsets.push_back(At(i));
    return offsets;
}
