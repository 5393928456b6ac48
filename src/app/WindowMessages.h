// The main window's private messages; other instances send them over the
// single-instance channel, and the window posts some of them to itself.
#pragma once

#include <cstdint>

constexpr uint32_t WM_USER = 0x400;
constexpr uint32_t WM_QUICKGO = WM_USER;            // open a pane's quick-go menu
constexpr uint32_t WM_COMMANDLINE = WM_USER + 1;    // handle the start-up command line
constexpr uint32_t WM_MINIMIZE = WM_USER + 2;
constexpr uint32_t WM_RESTORE = WM_USER + 3;        // restore and bring to the front
constexpr uint32_t WM_REFRESHLEFT = WM_USER + 4;
constexpr uint32_t WM_REFRESHRIGHT = WM_USER + 5;
constexpr uint32_t WM_SHELLDONE = WM_USER + 6;      // an asynchronous file operation ended
constexpr uint32_t WM_REMOVE = WM_USER + 7;         // restore, then uninstall
constexpr uint32_t WM_SHELLCALL = WM_USER + 0x64;   // another process asks for a shell call
