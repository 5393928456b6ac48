#include "Terminal.h"

#include <cstdio>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace {

std::optional<std::string> readLine()
{
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    return line;
}

} // namespace

namespace Terminal {

bool Interactive()
{
    return ::isatty(STDIN_FILENO) == 1;
}

std::string Ask(const std::string& prompt, const std::string& fallback)
{
    if (!Interactive())
        return fallback;
    std::cout << prompt << std::flush;
    return readLine().value_or(fallback);
}

std::optional<std::string> AskHidden(const std::string& prompt)
{
    if (!Interactive())
        return std::nullopt;
    std::cout << prompt << std::flush;
    termios saved {};
    const bool quiet = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= tcflag_t(~ECHO);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &silent);
    }
    std::optional<std::string> line = readLine();
    if (quiet)
        ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    std::cout << '\n';
    return line;
}

} // namespace Terminal
