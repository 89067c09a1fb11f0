#pragma once

#include <string>

// Conversions between wide (UTF-16) text and narrow text in a code page.
// Failure gives an empty string.
std::wstring MultiByteToWide(const std::string& text, unsigned int codePage);
std::string WideToMultiByte(const std::wstring& text, unsigned int codePage);

// Also drops a leading byte-order mark.
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);
