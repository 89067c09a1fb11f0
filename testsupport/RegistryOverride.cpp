#include "RegistryOverride.h"

bool SetRegistryText(HKEY root, const std::wstring& key, const wchar_t* name,
                     const std::wstring& text) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr))
    return false;
  const LONG status =
      RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

std::wstring RegistryText(HKEY root, const std::wstring& key, const wchar_t* name) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size))
    return std::wstring();
  return buffer;
}

CRegistryOverride::CRegistryOverride(HKEY root, const std::wstring& key, const std::wstring& text)
    : m_root(root),
      m_key(key),
      m_previous(RegistryText(root, key, nullptr)),
      m_set(SetRegistryText(root, key, nullptr, text)) {}

CRegistryOverride::~CRegistryOverride() {
  if (m_previous.empty())
    RegDeleteKeyW(m_root, m_key.c_str());
  else
    SetRegistryText(m_root, m_key, nullptr, m_previous);
}
