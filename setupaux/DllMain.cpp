#include <windows.h>

// The library keeps no state: loading and unloading need no work.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
