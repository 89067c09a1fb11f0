// url_recorder: the http handler of the demo prefix. It appends the address
// it is given to opened-urls.txt beside itself instead of opening a browser,
// so that nothing leaves the machine and the demo can report the address.
// A window program, so that the shell's launch opens no console window.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "DemoFacts.h"
#include "DemoPaths.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 2) return 2;
  FILE* file = _wfopen((demo::ProgramFolder() + demo::kOpenedUrlsFile).c_str(), L"a");
  if (!file) return 1;
  std::fprintf(file, "%ls\n", arguments[1]);
  std::fclose(file);
  LocalFree(arguments);
  return 0;
}
