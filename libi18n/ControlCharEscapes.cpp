#include "ControlCharEscapes.h"

#include "StringUtils.h"

namespace libi18n {

std::wstring EscapeControlChars(const std::wstring& text) {
  std::wstring result = ReplaceAll(text, L"\n", L"\\n");
  result = ReplaceAll(result, L"\r", L"\\r");
  return ReplaceAll(result, L"\t", L"\\t");
}

std::wstring UnescapeControlChars(const std::wstring& text) {
  std::wstring result = ReplaceAll(text, L"\\n", L"\n");
  result = ReplaceAll(result, L"\\r", L"\r");
  return ReplaceAll(result, L"\\t", L"\t");
}

}  // namespace libi18n
