// Questions asked on the terminal. Without one (stdin not a terminal) or at the end of
// input every question takes its default at once, so scripted runs never wait.
#pragma once

#include <optional>
#include <string>

namespace Terminal {

bool Interactive();

// Prints `prompt`, reads one line and returns it without its newline; `fallback` when
// not interactive or at the end of input.
std::string Ask(const std::string& prompt, const std::string& fallback);

// The same with echo off; none when not interactive or at the end of input.
std::optional<std::string> AskHidden(const std::string& prompt);

} // namespace Terminal
