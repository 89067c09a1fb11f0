#include "InstallerSession.h"

#include <msiquery.h>

#include <gtest/gtest.h>

#include <vector>

#include "SetupAuxLibrary.h"
#include "TestProducts.h"

CInstallerSession::CInstallerSession() {
  MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
  const std::wstring package = ProgramFolder() + L"\\" + testproducts::kSessionPackage;
  const UINT status = MsiOpenPackageW(package.c_str(), &m_handle);
  if (status != ERROR_SUCCESS) {
    m_handle = 0;
    ADD_FAILURE() << "MsiOpenPackageW failed with " << status;
  }
}

CInstallerSession::~CInstallerSession() {
  if (m_handle) MsiCloseHandle(m_handle);
}

void CInstallerSession::Set(const std::wstring& name, const std::wstring& value) {
  EXPECT_EQ(ERROR_SUCCESS, MsiSetPropertyW(m_handle, name.c_str(), value.c_str()));
}

std::wstring CInstallerSession::Get(const std::wstring& name) const {
  std::vector<wchar_t> buffer(1024);
  DWORD size = static_cast<DWORD>(buffer.size());
  UINT status = MsiGetPropertyW(m_handle, name.c_str(), buffer.data(), &size);
  if (status == ERROR_MORE_DATA) {
    buffer.resize(size + 1);
    size = static_cast<DWORD>(buffer.size());
    status = MsiGetPropertyW(m_handle, name.c_str(), buffer.data(), &size);
  }
  EXPECT_EQ(ERROR_SUCCESS, status);
  return std::wstring(buffer.data(), size);
}

UINT CInstallerSession::Run(const char* action) const {
  return CSetupAuxLibrary::Instance().Call(action, m_handle);
}
