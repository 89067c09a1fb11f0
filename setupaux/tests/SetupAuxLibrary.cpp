#include "SetupAuxLibrary.h"

#include <gtest/gtest.h>

std::wstring TestFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

CSetupAuxLibrary::CSetupAuxLibrary()
    : m_module(LoadLibraryW((TestFolder() + L"setupaux.dll").c_str())) {}

const CSetupAuxLibrary& CSetupAuxLibrary::Instance() {
  static const CSetupAuxLibrary library;
  return library;
}

CSetupAuxLibrary::Action CSetupAuxLibrary::Find(const char* name) const {
  if (!m_module) return nullptr;
  return reinterpret_cast<Action>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
}

UINT CSetupAuxLibrary::Call(const char* name, MSIHANDLE hInstall) const {
  const Action action = Find(name);
  if (!action) {
    ADD_FAILURE() << "setupaux.dll does not export " << name;
    return ERROR_PROC_NOT_FOUND;
  }
  return action(hInstall);
}
