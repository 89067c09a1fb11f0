// demo_probe: the Windows side of tools/run-demo.sh. It runs inside the demo's
// Wine prefix, where shell scripts cannot look: it prepares the prefix
// (the launch recorder becomes its web browser), answers and photographs the
// windows of the run, and reports what the installation did.
//   demo_probe prepare OLDER.msi [--virtual-desktop]
//   demo_probe watch SCREENSHOT_FOLDER SECONDS
//   demo_probe report
#include <windows.h>

#include <cstdio>
#include <string>

#include "Commands.h"

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"prepare" && argc > 2)
    return demo::Prepare(argv[2], argc > 3 && std::wstring(argv[3]) == L"--virtual-desktop");
  if (command == L"watch" && argc > 3) return demo::Watch(argv[2], _wtoi(argv[3]));
  if (command == L"report") return demo::Report();
  std::fprintf(stderr, "usage: demo_probe prepare|watch|report ...\n");
  return 2;
}
