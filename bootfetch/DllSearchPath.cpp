#include "DllSearchPath.h"

#include <windows.h>

void RestrictDllSearchToSystemFolder() {
  // Looked up at run time so that a system without it still starts.
  typedef BOOL(WINAPI * SetDefaultDllDirectoriesFunction)(DWORD);
  const auto setDefault =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefault != nullptr) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Takes the current folder out of the search on every system.
  SetDllDirectoryW(L"");
}
