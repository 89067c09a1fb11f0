#include "Encoding.h"

#include <windows.h>

#include <vector>

std::wstring MultiByteToWide(const std::string& text, unsigned int codePage) {
  // The terminating zero is converted too, so the count includes it.
  const int size = static_cast<int>(text.size()) + 1;
  std::vector<wchar_t> buffer(size);
  const int count = MultiByteToWideChar(codePage, 0, text.c_str(), size, buffer.data(), size);
  if (count == 0) return std::wstring();
  return std::wstring(buffer.data(), count - 1);
}

std::string WideToMultiByte(const std::wstring& text, unsigned int codePage) {
  if (text.empty()) return std::string();
  const int length = static_cast<int>(text.size());
  const int count =
      WideCharToMultiByte(codePage, 0, text.c_str(), length, nullptr, 0, nullptr, nullptr);
  if (count == 0) return std::string();
  std::vector<char> buffer(count + 1);
  WideCharToMultiByte(codePage, 0, text.c_str(), length, buffer.data(), count, nullptr, nullptr);
  return std::string(buffer.data(), count);
}

std::wstring Utf8ToWide(const std::string& text) {
  std::wstring result = MultiByteToWide(text, CP_UTF8);
  if (!result.empty() && result[0] == 0xFEFF) result.erase(0, 1);
  return result;
}

std::string WideToUtf8(const std::wstring& text) { return WideToMultiByte(text, CP_UTF8); }
