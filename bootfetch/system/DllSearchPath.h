#pragma once

// Keeps every later DLL load of the process to the system folder: the
// program's own folder, a browser's download folder, is the first place a
// planted DLL would be found. Called first thing, before anything can load a
// DLL.
void RestrictDllSearchToSystemFolder();
