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

// The text with its "{KEY}" replaced: a server path, or a validator, of a
// test run's own, as the test server keeps a count per key.
template <typename Text>
Text ReplaceKey(Text text, const Text& key) {
  const Text marker = {'{', 'K', 'E', 'Y', '}'};
  const std::size_t at = text.find(marker);
  if (at != Text::npos) text.replace(at, marker.size(), key);
  return text;
}
