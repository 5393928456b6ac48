#include "app/TextMeasure.h"

TextMeasure::TextMeasure(const QFontMetrics& fm)
    : m_fm(fm)
{
    m_latin1.fill(-1);
    m_candidates.reserve(kCandidates);
}

int TextMeasure::charAdvance(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 256) {
        if (m_latin1[u] < 0)
            m_latin1[u] = m_fm.horizontalAdvance(c);
        return m_latin1[u];
    }
    auto it = m_advances.constFind(u);
    if (it != m_advances.constEnd())
        return *it;
    const int advance = m_fm.horizontalAdvance(c);
    m_advances.insert(u, advance);
    return advance;
}

int TextMeasure::Estimate(const QString& text)
{
    int width = 0;
    for (QChar c : text) {
        if (c.unicode() >= 0x300
            && (c.isSurrogate() || c.isMark() || c.direction() == QChar::DirR || c.direction() == QChar::DirAL))
            return m_fm.horizontalAdvance(text);
        width += charAdvance(c);
    }
    return width;
}

void TextMeasure::Offer(const QString& text)
{
    const int estimate = Estimate(text);
    if (m_candidates.size() < kCandidates) {
        m_candidates.emplace_back(estimate, text);
    } else if (estimate > m_candidates[m_smallest].first) {
        m_candidates[m_smallest] = {estimate, text};
    } else {
        return;
    }
    m_smallest = 0;
    for (size_t i = 1; i < m_candidates.size(); ++i)
        if (m_candidates[i].first < m_candidates[m_smallest].first)
            m_smallest = i;
}

int TextMeasure::Widest() const
{
    int widest = 0;
    for (const auto& candidate : m_candidates)
        widest = std::max(widest, m_fm.horizontalAdvance(candidate.second));
    return widest;
}
