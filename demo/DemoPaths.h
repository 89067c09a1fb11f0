#pragma once
#include <string>

namespace demo {

// Folder of this program, with a trailing backslash.
std::wstring ProgramFolder();
// The all-users desktop's desktop.ini.
std::wstring CommonDesktopIni();

}  // namespace demo
