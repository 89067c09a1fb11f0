#include "system/SystemLibrary.h"

#include <string>

HMODULE LoadSystemLibraryByFullPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\" + name;
  // The altered search starts at the DLL's own folder for its imports.
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

bool CSystemLibrary::Load(const wchar_t* name) {
  Attach(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  // Systems that predate the search flags reject them; a full path keeps the
  // load in the system folder there too.
  if (!IsCreated() && GetLastError() == ERROR_INVALID_PARAMETER)
    Attach(LoadSystemLibraryByFullPath(name));
  return IsCreated();
}
