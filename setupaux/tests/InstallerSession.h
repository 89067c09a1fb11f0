#pragma once

#include <windows.h>
#include <msi.h>

#include <string>

// A real installer session on the test package, as a custom action sees it.
class CInstallerSession {
 public:
  CInstallerSession();
  ~CInstallerSession();
  CInstallerSession(const CInstallerSession&) = delete;
  CInstallerSession& operator=(const CInstallerSession&) = delete;

  MSIHANDLE Handle() const { return m_handle; }
  bool IsOpen() const { return m_handle != 0; }

  void Set(const std::wstring& name, const std::wstring& value);
  std::wstring Get(const std::wstring& name) const;
  UINT Run(const char* action) const;

 private:
  MSIHANDLE m_handle = 0;
};
