// A wildcard mask of at most 15 elements: literal runs, "?", "*", "!c" (any but c),
// "#c" (exactly c), "[a-z]" / "[!a-z]" ranges and "(abc)" / "(!abc)" sets. The whole
// text must match. A mask that is too long or malformed raises EMaskError("Error").
#pragma once

#include <QString>
#include <stdexcept>
#include <string>
#include <vector>

class EMaskError : public std::runtime_error {
public:
    EMaskError()
        : std::runtime_error("Error")
    {
    }
};

class TmyMask {
public:
    static constexpr int kMaxElements = 15;

    explicit TmyMask(const QString& mask);   // throws EMaskError
    ~TmyMask();
    TmyMask(const TmyMask&);
    TmyMask& operator=(const TmyMask&);
    TmyMask(TmyMask&&) noexcept;
    TmyMask& operator=(TmyMask&&) noexcept;

    bool Matches(const QString& text) const;

private:
    struct Element;
    // The fixed-width elements between two "*" (or an end of the mask and a "*").
    struct Segment {
        int first = 0;
        int last = 0;    // one past
        int width = 0;   // characters it consumes
    };

    void Parse(const std::u32string& mask);
    void Add(Element element);
    void SplitAtStars();
    bool SegmentMatchesAt(const Segment& segment, const std::u32string& text, size_t at) const;

    std::vector<Element> m_elements;
    std::vector<Segment> m_segments;   // one more than there are "*"
};
