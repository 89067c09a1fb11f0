#pragma once

#include <windows.h>

#include <string>

// Opens a file or address with the shell's "open" verb and reports whether
// the shell could. The shell shows no error box of its own, and the launch is
// complete when this returns, so the caller may exit at once.
bool ShellOpenFile(const std::wstring& file, HWND owner);
