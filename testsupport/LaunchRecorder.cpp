// Stands in for the program behind a verb of a test or demo prefix (the
// browser for http addresses, the Windows Installer for .msi files), so that
// nothing is installed and nothing leaves the machine:
//   launch_recorder.exe <folder> <what was opened>
// appends what was opened to <folder>\opened.txt, one UTF-8 line per launch,
// and keeps a copy of an opened file in the folder. A file is first opened
// as the Windows Installer opens a package, for reading and denying writers;
// where that fails, the line says so after the name.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "FileHandle.h"

#include "Encoding.h"
#include "LaunchRecords.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 3) return 1;
  const std::wstring folder = arguments[1];
  const std::wstring opened = arguments[2];
  LocalFree(arguments);

  CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring noted = opened;
  CFileHandle installerOpen;
  const DWORD attributes = GetFileAttributesW(opened.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    if (!installerOpen.Create(opened.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL))
      noted += L" (not opened as the installer opens it: error " + std::to_wstring(GetLastError()) +
               L")";
    const std::wstring name = opened.substr(opened.find_last_of(L"\\/") + 1);
    if (!CopyFileW(opened.c_str(), (folder + L"\\" + name).c_str(), FALSE)) return 1;
  }
  const std::string line = WideToUtf8(noted + L"\n");
  for (int attempt = 0; attempt < 100; ++attempt) {
    const HANDLE log = CreateFileW(LaunchLogPath(folder).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) {
      Sleep(50);  // another launch is writing
      continue;
    }
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
    return 0;
  }
  return 2;
}
