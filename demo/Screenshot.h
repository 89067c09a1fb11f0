#pragma once
#include <string>

namespace demo {

// Saves the whole screen (Wine's virtual desktop, when there is one) as a
// 24-bit BMP file.
bool SaveScreenshot(const std::wstring& path);

}  // namespace demo
