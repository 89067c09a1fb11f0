// Start-up of bootfetch: from CreateProcess to its dialog being visible,
// over several runs. Each run is then cancelled with the dialog's Cancel
// command, so the URL should name a download that takes a while.
// Usage: startup_benchmark BOOTFETCH.exe URL [RUNS]
// Prints one line per run and "startup: median M ms, min A ms, max B ms, N runs".
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Stopwatch.h"

namespace {

struct SSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
  SSearch* search = reinterpret_cast<SSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t caption[256] = {};
  GetWindowTextW(window, caption, 256);
  if (owner == search->processId && IsWindowVisible(window) &&
      std::wstring(caption).rfind(L"Download ", 0) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// Milliseconds until the dialog is visible, or a negative number.
double MeasureOnce(const std::wstring& program, const std::wstring& url, DWORD* exitCode) {
  std::wstring command = L"\"" + program + L"\" \"" + url + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  const bench::CStopwatch watch;
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return -1;
  SSearch search = {process.dwProcessId, nullptr};
  double elapsed = -1;
  while (watch.Milliseconds() < 60000) {
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      elapsed = watch.Milliseconds();
      break;
    }
    if (WaitForSingleObject(process.hProcess, 2) == WAIT_OBJECT_0) break;
  }
  if (search.found) PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 99);
  GetExitCodeProcess(process.hProcess, exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_benchmark BOOTFETCH.exe URL [RUNS]\n");
    return 2;
  }
  const int runs = argc > 3 ? _wtoi(argv[3]) : 10;
  std::vector<double> times;
  for (int run = 1; run <= runs; ++run) {
    DWORD exitCode = 0;
    const double ms = MeasureOnce(argv[1], argv[2], &exitCode);
    std::printf("run %2d: %8.1f ms to a visible dialog, exit code %lu\n", run, ms, exitCode);
    if (ms < 0) return 1;
    times.push_back(ms);
  }
  std::printf("startup: median %.0f ms, min %.0f ms, max %.0f ms, %d runs\n", bench::Median(times),
              *std::min_element(times.begin(), times.end()),
              *std::max_element(times.begin(), times.end()), runs);
  return 0;
}
