// Start-up of bootfetch: from CreateProcess to its dialog being visible,
// over several runs. Each run is then cancelled with the dialog's Cancel
// command, so the URL should name a download that takes a while.
// Usage: startup_benchmark BOOTFETCH.exe URL [RUNS]
// Prints one line per run and "startup: median M ms, min A ms, max B ms, N runs".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "AppRunner.h"
#include "Stopwatch.h"

namespace {

// Milliseconds until the dialog is visible, or a negative number.
double MeasureOnce(const std::wstring& program, const std::wstring& url, DWORD* exitCode) {
  CAppRunner app;
  const bench::CStopwatch watch;
  if (!app.Start(program, L"\"" + url + L"\"")) return -1;
  const HWND dialog = app.WaitForDialog(60000, 2);
  const double elapsed = dialog ? watch.Milliseconds() : -1;
  if (dialog) PressButton(dialog, IDCANCEL);
  *exitCode = app.WaitForExit(30000);
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
