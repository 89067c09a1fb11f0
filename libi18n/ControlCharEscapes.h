#pragma once

#include <string>

namespace libi18n {

// Line feed, carriage return and tab to and from their backslash forms "\n",
// "\r" and "\t", as language files write them. A backslash itself has no
// escape.
std::wstring EscapeControlChars(const std::wstring& text);
std::wstring UnescapeControlChars(const std::wstring& text);

}  // namespace libi18n
