#pragma once

#include <windows.h>

// Loads a DLL by its full path in the system folder, taking its own imports
// from there too; null when it cannot. Works where the loader's search flags
// do not exist.
HMODULE LoadSystemLibraryByFullPath(const wchar_t* name);
