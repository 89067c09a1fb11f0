#include "TestRegistryKey.h"

#include <gtest/gtest.h>

CTestRegistryKey::CTestRegistryKey(const std::wstring& name)
    : m_path(L"Software\\Vantrel Test\\" + name) {
  RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
  EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0,
                                           KEY_ALL_ACCESS, nullptr, &m_key, nullptr));
}

CTestRegistryKey::~CTestRegistryKey() {
  if (m_key) RegCloseKey(m_key);
  RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
}

void CTestRegistryKey::SetRaw(const std::wstring& name, DWORD type, const void* data, DWORD bytes) {
  ASSERT_EQ(ERROR_SUCCESS,
            RegSetValueExW(m_key, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes));
}

void CTestRegistryKey::SetText(const std::wstring& name, const std::wstring& text) {
  SetRaw(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void CTestRegistryKey::SetDword(const std::wstring& name, DWORD value) {
  SetRaw(name, REG_DWORD, &value, sizeof(value));
}
