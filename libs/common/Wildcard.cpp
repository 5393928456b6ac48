#include "Wildcard.h"

#include <string>
#include <vector>

namespace {

size_t NextCharacter(std::string_view text, size_t at)
{
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        ++at;
    return at;
}

// Greedy matching with one remembered star: on a mismatch the last star takes one more
// character. Linear in practice, and no recursion a hostile pattern could deepen.
bool MatchRun(std::string_view pattern, std::string_view name)
{
    size_t p = 0;
    size_t n = 0;
    size_t starP = std::string_view::npos;
    size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n = NextCharacter(name, n);
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP;
            starN = NextCharacter(name, starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string WithEveryNameStar(std::string_view pattern)
{
    std::string out(pattern);
    if (out == "*.*" || (out.size() > 3 && out.ends_with("/*.*")))
        out.erase(out.size() - 2);
    return out;
}

std::vector<std::string_view> Steps(std::string_view text)
{
    std::vector<std::string_view> steps;
    size_t from = 0;
    for (;;) {
        const size_t slash = text.find('/', from);
        steps.push_back(text.substr(from, slash == std::string_view::npos ? std::string_view::npos : slash - from));
        if (slash == std::string_view::npos)
            return steps;
        from = slash + 1;
    }
}

} // namespace

namespace Wildcard {

bool HasWildcards(std::string_view text)
{
    return text.find_first_of("*?") != std::string_view::npos;
}

bool Match(std::string_view rawPattern, std::string_view name, bool crossFolders)
{
    const std::string pattern = WithEveryNameStar(rawPattern);
    if (crossFolders)
        return MatchRun(pattern, name);
    const std::vector<std::string_view> patternSteps = Steps(pattern);
    const std::vector<std::string_view> nameSteps = Steps(name);
    if (patternSteps.size() != nameSteps.size())
        return false;
    for (size_t i = 0; i < nameSteps.size(); ++i)
        if (!MatchRun(patternSteps[i], nameSteps[i]))
            return false;
    return true;
}

} // namespace Wildcard
