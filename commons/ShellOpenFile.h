#pragma once

#include <windows.h>

#include <string>

// Opens a file or address with the shell's "open" verb. The shell shows no
// error box of its own, and the outcome is not reported.
void ShellOpenFile(const std::wstring& file, HWND owner);
