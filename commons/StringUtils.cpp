#include "StringUtils.h"

#include <cwchar>
#include <stdlib.h>

std::wstring ReplaceAll(const std::wstring& text, const std::wstring& search,
                        const std::wstring& replacement) {
  if (search.empty()) return text;
  std::wstring result;
  std::wstring::size_type position = 0;
  while (position < text.size()) {
    const std::wstring::size_type found = text.find(search, position);
    if (found == std::wstring::npos) {
      result.append(text, position, std::wstring::npos);
      break;
    }
    result.append(text, position, found - position);
    result += replacement;
    position = found + search.size();
  }
  return result;
}

std::int32_t StringToInt(const std::wstring& text, bool* hasRest) {
  int base = 10;
  std::wstring::size_type start = 0;
  if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
    base = 16;
    start = 2;
  } else if (text.size() > 1 && text[0] == L'#') {
    base = 16;
    start = 1;
  }
  const wchar_t* begin = text.c_str() + start;
  wchar_t* end = nullptr;
  // long is 32 bits on Windows, so wcstol already clamps to the int32 range.
  const long value = std::wcstol(begin, &end, base);
  if (hasRest) *hasRest = *end != L'\0';
  return static_cast<std::int32_t>(value);
}

std::wstring IntToString(std::int32_t n) {
  wchar_t buffer[50];
  if (_itow_s(n, buffer, 50, 10) != 0) return std::wstring();
  return buffer;
}
