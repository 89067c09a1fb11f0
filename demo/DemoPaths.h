#pragma once
#include <string>

namespace demo {

// The all-users desktop's desktop.ini.
std::wstring CommonDesktopIni();

}  // namespace demo
