#include "reg_key.h"

#include <cstring>
#include <cwchar>
#include <vector>

#include "StringUtils.h"

namespace setupaux {

namespace {

const DWORD kViewMask = KEY_WOW64_64KEY | KEY_WOW64_32KEY;
const DWORD kQueryChars = 65536;
const DWORD kFirstNameChars = 4096;

}  // namespace

reg_key::~reg_key() { close_key(); }

LONG reg_key::open_key(HKEY root, const std::wstring& subKey, REGSAM access) {
  HKEY key = nullptr;
  const LONG status = RegOpenKeyExW(root, subKey.c_str(), 0, access, &key);
  if (status != ERROR_SUCCESS) return status;
  return take(key, access);
}

LONG reg_key::create_key(HKEY root, const std::wstring& subKey, REGSAM access) {
  HKEY key = nullptr;
  const LONG status =
      RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, access, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  return take(key, access);
}

LONG reg_key::take(HKEY key, REGSAM access) {
  const HKEY old = m_key;
  m_key = key;
  m_viewBits = access & kViewMask;
  return old ? RegCloseKey(old) : ERROR_SUCCESS;
}

bool reg_key::close_key() {
  LONG status = ERROR_SUCCESS;
  if (m_key) status = RegCloseKey(m_key);
  m_key = nullptr;
  m_viewBits = 0;
  return status == ERROR_SUCCESS;
}

std::int32_t reg_key::query_number(const std::wstring& valueName, std::int32_t defaultValue) const {
  if (!m_key) return defaultValue;
  std::vector<wchar_t> buffer(kQueryChars, L'\0');
  DWORD type = REG_NONE;
  DWORD bytes = kQueryChars * sizeof(wchar_t);
  if (RegQueryValueExW(m_key, valueName.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS)
    return defaultValue;
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ: {
      // Stored texts need not end with a NUL: one that fills the buffer is
      // read only up to the buffer's end.
      const std::size_t chars = bytes / sizeof(wchar_t);
      return StringToInt(std::wstring(buffer.data(), wcsnlen(buffer.data(), chars)));
    }
    case REG_DWORD: {
      // The buffer is zeroed, so a shorter value cannot expose stale bytes.
      DWORD value = 0;
      std::memcpy(&value, buffer.data(), sizeof(value));
      return static_cast<std::int32_t>(value);
    }
    default:
      return defaultValue;
  }
}

bool reg_key::set_dword(const std::wstring& valueName, DWORD value) {
  return RegSetValueExW(m_key, valueName.c_str(), 0, REG_DWORD,
                        reinterpret_cast<const BYTE*>(&value), sizeof(value)) == ERROR_SUCCESS;
}

bool reg_key::enum_subkey(DWORD index, std::wstring& name) const {
  name.clear();
  std::vector<wchar_t> buffer(kFirstNameChars, L'\0');
  for (;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    const LONG status =
        RegEnumKeyExW(m_key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) {
      buffer.assign(buffer.size() * 2, L'\0');
      continue;
    }
    if (status != ERROR_SUCCESS) return false;
    name.assign(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
    return true;
  }
}

}  // namespace setupaux
