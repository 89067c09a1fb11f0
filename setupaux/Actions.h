#pragma once

#include <windows.h>
#include <msi.h>

// Custom actions exported to the Windows Installer; the names are fixed by
// the packages that call them (see setupaux.def).
extern "C" {
UINT __stdcall addCheckbox(MSIHANDLE hInstall);
UINT __stdcall loadCheckboxValue(MSIHANDLE hInstall);
UINT __stdcall askRemoveOld(MSIHANDLE hInstall);
UINT __stdcall isX64Windows(MSIHANDLE hInstall);
UINT __stdcall flashVersionValid(MSIHANDLE hInstall);
UINT __stdcall fixConnect(MSIHANDLE hInstall);
UINT __stdcall removeDesktopIniReadOnlyAttribute(MSIHANDLE hInstall);
UINT __stdcall openTrialUrl(MSIHANDLE hInstall);
}
