#pragma once

#include <windows.h>

#include "Handle.h"

// The one cast from the loader's untyped address to an entry point's type;
// null when the module lacks the entry point.
template <class Function>
Function ProcAddress(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// An entry point of a system DLL the process has loaded already (kernel32,
// user32), or null on a Windows without it. Functions newer than Vista are
// looked up this way: imported, they would stop the program from starting
// there.
template <class Function>
Function* SystemFunction(const wchar_t* module, const char* name) {
  return ProcAddress<Function*>(GetModuleHandleW(module), name);
}

// Loads a DLL by its full path in the system folder, taking its own imports
// from there too; null when it cannot. Works where the loader's search flags
// do not exist.
HMODULE LoadSystemLibraryByFullPath(const wchar_t* name);

struct CModuleTraits {
  typedef HMODULE Handle;
  typedef HMODULE Slot;
  static HMODULE Empty() { return nullptr; }
  static bool Close(HMODULE module) { return FreeLibrary(module) != FALSE; }
};

// A DLL loaded at run time and freed with its holder; callers take typed
// entry points from it and never cast.
class CSystemLibrary : public CHandleBase<CModuleTraits> {
 public:
  // From the system folder only: by the loader's search flag, or by full path
  // on systems that predate the flag. False when the DLL could not be loaded.
  bool Load(const wchar_t* name);

  // If true, function is the entry point; otherwise it is null.
  template <class Function>
  bool GetProc(const char* name, Function& function) const {
    function = ProcAddress<Function>(m_handle, name);
    return function != nullptr;
  }
};
