// Stands in for the Windows Installer as the handler of the .msi "open" verb
// in the test prefix: keeps a copy of each opened file and notes its path.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring folder = argv[1];
  const std::wstring opened = argv[2];
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring name = opened.substr(opened.find_last_of(L"\\/") + 1);
  if (!CopyFileW(opened.c_str(), (folder + L"\\" + name).c_str(), FALSE)) return 1;

  const HANDLE log = CreateFileW((folder + L"\\opened.txt").c_str(), FILE_APPEND_DATA, 0, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 1;
  const std::wstring line = opened + L"\n";
  DWORD written = 0;
  WriteFile(log, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(log);
  return 0;
}
