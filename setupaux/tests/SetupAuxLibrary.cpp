#include "SetupAuxLibrary.h"

#include <gtest/gtest.h>

CSetupAuxLibrary::CSetupAuxLibrary()
    : m_module(LoadLibraryW((ProgramFolder() + L"\\setupaux.dll").c_str())) {}

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
