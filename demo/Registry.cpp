#include "Registry.h"

#include <cstring>

namespace demo {

std::wstring ReadValueText(HKEY root, const std::wstring& key, const wchar_t* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return L"<absent>";
  wchar_t buffer[1024] = {};
  DWORD type = 0;
  DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
  const LONG status =
      RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS) return L"<absent>";
  if (type == REG_DWORD) {
    DWORD number = 0;
    std::memcpy(&number, buffer, sizeof(number));
    return std::to_wstring(number) + L" (DWORD)";
  }
  if (type == REG_SZ || type == REG_EXPAND_SZ) return L"\"" + std::wstring(buffer) + L"\"";
  return L"<type " + std::to_wstring(type) + L">";
}

static bool WriteValue(HKEY root, const std::wstring& key, const wchar_t* name, DWORD type,
                       const void* data, DWORD bytes) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const LONG status = RegSetValueExW(opened, name, 0, type, static_cast<const BYTE*>(data), bytes);
  RegCloseKey(opened);
  return status == ERROR_SUCCESS;
}

bool WriteDword(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value) {
  return WriteValue(root, key, name, REG_DWORD, &value, sizeof(value));
}

bool WriteString(HKEY root, const std::wstring& key, const wchar_t* name,
                 const std::wstring& value) {
  return WriteValue(root, key, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace demo
