#pragma once

#include <windows.h>

#include <string>

// Writes a REG_SZ value (name null: the key's default), creating the key if
// need be; true when written.
bool SetRegistryText(HKEY root, const std::wstring& key, const wchar_t* name,
                     const std::wstring& text);
// The REG_SZ value, empty when there is none.
std::wstring RegistryText(HKEY root, const std::wstring& key, const wchar_t* name);

// A key's default value set for the object's lifetime, then put back as it
// was; the key goes, if it has no subkeys, when there was no value before.
class CRegistryOverride {
 public:
  CRegistryOverride(HKEY root, const std::wstring& key, const std::wstring& text);
  ~CRegistryOverride();
  CRegistryOverride(const CRegistryOverride&) = delete;
  CRegistryOverride& operator=(const CRegistryOverride&) = delete;

  bool IsSet() const { return m_set; }

 private:
  HKEY m_root;
  std::wstring m_key;
  std::wstring m_previous;
  bool m_set;
};
