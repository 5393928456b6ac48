#include "viewers/image/GifRowOrder.h"

namespace {

constexpr int kPasses = 4;
constexpr int kPassStart[kPasses] = {0, 4, 2, 1};
constexpr int kPassStep[kPasses] = {8, 8, 4, 2};

} // namespace

GifRowOrder::GifRowOrder(int height, bool interlaced)
    : m_height(height)
    , m_interlaced(interlaced)
{
}

void GifRowOrder::Advance()
{
    if (!m_interlaced) {
        ++m_row;
        return;
    }
    m_row += kPassStep[m_pass];
    SkipPassesPastTheEnd();
}

// A picture under 5 rows has passes with no row at all; those are skipped, so a small
// interlaced picture still fills every row.
void GifRowOrder::SkipPassesPastTheEnd()
{
    while (m_row >= m_height && m_pass + 1 < kPasses) {
        ++m_pass;
        m_row = kPassStart[m_pass];
    }
}
