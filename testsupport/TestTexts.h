#pragma once

#include <string>

// The English text a user sees for any failed download, as the built-in
// catalogue and the program's fallback give it.
const wchar_t kDownloadErrorText[] =
    L"Unable to download the installation package. Please check your Internet connection or "
    L"firewall settings and try again.";

// A wide text as gtest's messages show it; the tests' texts are ASCII.
inline std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}
