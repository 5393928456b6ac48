#include "MemberPath.h"

#include <vector>

namespace {

std::vector<std::string> Steps(const std::string& path)
{
    std::vector<std::string> steps;
    std::string step;
    for (const char c : path) {
        if (c == '/') {
            if (!step.empty())
                steps.push_back(step);
            step.clear();
        } else {
            step += c;
        }
    }
    if (!step.empty())
        steps.push_back(step);
    return steps;
}

// Zips made on Windows may separate folders with backslashes; a name with "..\" must
// be caught as well as one with "../".
std::string Slashed(std::string name)
{
    for (char& c : name)
        if (c == '\\')
            c = '/';
    return name;
}

} // namespace

namespace MemberPath {

std::optional<std::string> Relative(const std::string& rawName, bool keepFolders)
{
    const std::string name = Slashed(rawName);
    if (name.empty() || name.front() == '/' || name.find('\0') != std::string::npos)
        return std::nullopt;
    if (name.size() >= 2 && name[1] == ':')   // a drive letter
        return std::nullopt;
    std::string out;
    for (const std::string& step : Steps(name)) {
        if (step == "..")
            return std::nullopt;
        if (step == ".")
            continue;
        if (!out.empty())
            out += '/';
        out += step;
    }
    if (out.empty())
        return std::nullopt;
    if (!keepFolders)
        out = out.substr(out.rfind('/') + 1);
    return out;
}

bool LinkStaysInside(const std::string& relativeLink, const std::string& target)
{
    if (target.empty() || target.front() == '/' || target.find('\0') != std::string::npos)
        return false;
    // A ".." taken after another link could climb from wherever that link leads, so
    // a target may only go up through folders the link's own path names.
    std::vector<std::string> where = Steps(relativeLink);
    if (!where.empty())
        where.pop_back();
    bool descended = false;
    for (const std::string& step : Steps(Slashed(target))) {
        if (step == ".")
            continue;
        if (step == "..") {
            if (where.empty() || descended)
                return false;
            where.pop_back();
        } else {
            where.push_back(step);
            descended = true;
        }
    }
    return true;
}

} // namespace MemberPath
