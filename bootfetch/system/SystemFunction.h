#pragma once

#include <windows.h>

// An entry point of a system DLL the process has loaded already (kernel32,
// user32), or null on a Windows without it. Functions newer than Vista are
// looked up this way: imported, they would stop the program from starting
// there.
template <class Function>
Function* SystemFunction(const wchar_t* module, const char* name) {
  return reinterpret_cast<Function*>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name)));
}
