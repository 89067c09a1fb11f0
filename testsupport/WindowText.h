#pragma once

#include <windows.h>

#include <string>

// The whole text of a window, empty when it has none.
std::wstring WindowText(HWND window);
