// Measuring many texts quickly: the widest of a listing's names decides a column's
// width after every listing, and shaping 16384 names one by one costs more than
// reading the folder.
#pragma once

#include <QFontMetrics>
#include <QHash>
#include <QString>
#include <array>
#include <vector>

class TextMeasure {
public:
    explicit TextMeasure(const QFontMetrics& fm);

    // The sum of the characters' own advances: close to the shaped width, without
    // kerning. Exact shaping is used for texts the per-character sum cannot describe
    // (surrogates, combining marks, right-to-left text).
    int Estimate(const QString& text);

    // Collects texts; Widest() shapes only those whose estimate is among the largest,
    // since kerning moves a width by a few pixels, never past dozens of wider texts.
    void Offer(const QString& text);
    int Widest() const;

private:
    int charAdvance(QChar c);

    static constexpr size_t kCandidates = 32;
    QFontMetrics m_fm;
    std::array<int, 256> m_latin1;       // -1 until measured
    QHash<char16_t, int> m_advances;
    std::vector<std::pair<int, QString>> m_candidates;   // (estimate, text), the largest estimates
    size_t m_smallest = 0;                              // index of the smallest candidate
};
