#pragma once

#include <windows.h>
#include <objbase.h>

#include <string>

// The apartment the shell asks of a thread that opens something: verbs
// implemented as COM handlers need one, and none needs OLE 1's DDE.
const DWORD kShellApartment = COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE;

// Opens a file or address with the shell's "open" verb and reports whether
// the shell could. The shell shows no error box of its own, and the launch is
// complete when this returns, so the caller may exit at once.
bool ShellOpenFile(const std::wstring& file, HWND owner);
