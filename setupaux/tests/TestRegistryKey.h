#pragma once

#include <windows.h>

#include <string>

// A fresh key below HKEY_CURRENT_USER, deleted with its subtree afterwards.
class CTestRegistryKey {
 public:
  explicit CTestRegistryKey(const std::wstring& name);
  ~CTestRegistryKey();
  CTestRegistryKey(const CTestRegistryKey&) = delete;
  CTestRegistryKey& operator=(const CTestRegistryKey&) = delete;

  const std::wstring& Path() const { return m_path; }
  HKEY Handle() const { return m_key; }

  void SetRaw(const std::wstring& name, DWORD type, const void* data, DWORD bytes);
  void SetText(const std::wstring& name, const std::wstring& text);  // REG_SZ with its NUL
  void SetDword(const std::wstring& name, DWORD value);

 private:
  std::wstring m_path;
  HKEY m_key = nullptr;
};
