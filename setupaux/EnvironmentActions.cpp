#include <cstdint>
#include <stdexcept>

#include "Actions.h"
#include "CustomAction.h"
#include "FlashVersion.h"
#include "InstallerProperty.h"
#include "ToNumber.h"

using namespace setupaux;

// A 32-bit DLL runs under WOW64 exactly when Windows is 64-bit.
UINT __stdcall isX64Windows(MSIHANDLE hInstall) {
  return RunCustomAction([hInstall]() -> UINT {
    BOOL wow64 = FALSE;
    const bool x64 = IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
    SetProperty(hInstall, L"IS_X64_WINDOWS", x64 ? L"1" : L"");
    return ERROR_SUCCESS;
  });
}

UINT __stdcall flashVersionValid(MSIHANDLE hInstall) {
  return RunCustomAction([hInstall]() -> UINT {
    const std::int32_t need = ToNumber(GetProperty(hInstall, L"FLASHVERSIONNEED"));
    if (need < 1) throw std::runtime_error("bad need version");
    // A missing, broken or unusable control is "no Flash Player", not a failure.
    std::int32_t installed = 0;
    try {
      installed = GetFlashMajorVersion();
    } catch (...) {
      installed = 0;
    }
    SetProperty(hInstall, L"FLASHVERSIONVALID", installed >= need ? L"1" : L"");
    return ERROR_SUCCESS;
  });
}
