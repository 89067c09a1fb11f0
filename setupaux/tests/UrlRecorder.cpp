// Stand-in for the browser: registered for the http protocol in the test
// prefix (and in the demo's), it appends each address it is given to
// "opened-urls.txt" beside itself, one UTF-8 line per launch, so nothing
// leaves the machine.
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 2) return 1;
  std::wstring line = std::wstring(arguments[1]) + L"\n";
  LocalFree(arguments);

  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring log(path, length);
  log = log.substr(0, log.find_last_of(L"\\/") + 1) + L"opened-urls.txt";

  std::string bytes(WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr),
                    '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, &bytes[0], static_cast<int>(bytes.size()),
                      nullptr, nullptr);
  bytes.pop_back();  // the NUL
  for (int attempt = 0; attempt < 100; ++attempt) {
    const HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      Sleep(50);  // another launch is writing
      continue;
    }
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
  }
  return 2;
}
