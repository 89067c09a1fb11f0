#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace setupaux {

// Owner of one open registry key. Operations return the registry's answer as
// is and never throw on its account; callers decide what a refusal means.
class reg_key {
 public:
  reg_key() = default;
  virtual ~reg_key();
  reg_key(const reg_key&) = delete;
  reg_key& operator=(const reg_key&) = delete;

  // On success the new key replaces the held one and the result is the status
  // of closing the old one; a failure leaves the object as it was.
  LONG open_key(HKEY root, const std::wstring& subKey, REGSAM access);
  LONG create_key(HKEY root, const std::wstring& subKey, REGSAM access);
  bool close_key();

  // Text values count by their leading number ("3abc" is 3, "abc" is 0);
  // unreadable values and other types give defaultValue.
  std::int32_t query_number(const std::wstring& valueName, std::int32_t defaultValue) const;
  bool set_dword(const std::wstring& valueName, DWORD value);
  // False at the end of the list and on any error.
  bool enum_subkey(DWORD index, std::wstring& name) const;

  HKEY handle() const { return m_key; }
  // KEY_WOW64_32KEY / KEY_WOW64_64KEY of the mask that opened the key.
  DWORD view_bits() const { return m_viewBits; }

 private:
  LONG take(HKEY key, REGSAM access);

  HKEY m_key = nullptr;
  DWORD m_viewBits = 0;
};

}  // namespace setupaux
