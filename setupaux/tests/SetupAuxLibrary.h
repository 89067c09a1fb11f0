#pragma once

#include <windows.h>
#include <msi.h>

#include <string>

#include "TempDir.h"  // ProgramFolder: the DLL, the packages and the stand-ins are there

// setupaux.dll loaded the way the installer loads it, from beside the test
// program; the folder also holds the test packages.
class CSetupAuxLibrary {
 public:
  using Action = UINT(__stdcall*)(MSIHANDLE);

  static const CSetupAuxLibrary& Instance();

  // Null when the DLL does not export the name.
  Action Find(const char* name) const;
  // Fails the current test when the export is missing.
  UINT Call(const char* name, MSIHANDLE hInstall) const;

 private:
  CSetupAuxLibrary();
  HMODULE m_module = nullptr;
};
