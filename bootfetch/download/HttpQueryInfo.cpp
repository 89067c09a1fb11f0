#include "download/HttpQueryInfo.h"

#include <vector>

#include "StringUtils.h"
#include "download/WinInetLibrary.h"

bool QueryInfoText(HINTERNET request, DWORD infoLevel, std::wstring& text) {
  const CWinInetEntryPoints& api = WinInet();
  DWORD length = 0;
  if (api.HttpQueryInfoW(request, infoLevel, nullptr, &length, nullptr)) return false;
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || length < 1) return false;
  // Lengths are in bytes; wchar_t elements keep the buffer aligned for the text.
  std::vector<wchar_t> buffer(length / sizeof(wchar_t) + 1);
  if (!api.HttpQueryInfoW(request, infoLevel, buffer.data(), &length, nullptr) || length < 1)
    return false;
  text.assign(buffer.data(), length / sizeof(wchar_t));
  return true;
}

bool QueryInfoNumber(HINTERNET request, DWORD infoLevel, std::int32_t& number) {
  std::wstring text;
  if (!QueryInfoText(request, infoLevel, text)) return false;
  bool hasRest = false;
  number = StringToInt(text, &hasRest);
  return !hasRest;
}
