// Start-up of bootfetch next to a bare program that shows the same dialog:
// from CreateProcess to the dialog being visible, the two started in turn so
// that both see the same machine load. Each run is then cancelled with the
// dialog's Cancel command, so the URL should name a download that takes a
// while.
// Usage: startup_benchmark BOOTFETCH.exe BARE_DIALOG.exe URL [RUNS]
// Prints one line per run and "startup: bootfetch median M ms, bare dialog
// median N ms, ratio of medians R; bootfetch fastest A ms, bare dialog
// fastest C ms, ratio of fastest F; slowest B / D ms; K runs". On a shared
// machine the medians move with the load; the fastest runs show what each
// program costs when it has the machine to itself.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "AppRunner.h"
#include "Stopwatch.h"

namespace {

// Milliseconds until the dialog is visible, or a negative number.
double MeasureOnce(const std::wstring& program, const std::wstring& arguments, DWORD* exitCode) {
  CAppRunner app;
  const bench::CStopwatch watch;
  if (!app.Start(program, arguments)) return -1;
  const HWND dialog = app.WaitForDialog(60000, 2);
  const double elapsed = dialog ? watch.Milliseconds() : -1;
  if (dialog) PressButton(dialog, IDCANCEL);
  *exitCode = app.WaitForExit(30000);
  return elapsed;
}

double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double Max(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: startup_benchmark BOOTFETCH.exe BARE_DIALOG.exe URL [RUNS]\n");
    return 2;
  }
  const std::wstring bootfetch = argv[1], bare = argv[2], url = argv[3];
  const int runs = argc > 4 ? _wtoi(argv[4]) : 10;
  std::vector<double> ours, theirs;
  for (int run = 1; run <= runs; ++run) {
    DWORD oursExit = 0, bareExit = 0;
    // Every other run starts with the bare program, so neither always goes first.
    double a = 0, b = 0;
    if (run % 2) {
      a = MeasureOnce(bootfetch, L"\"" + url + L"\"", &oursExit);
      b = MeasureOnce(bare, L"", &bareExit);
    } else {
      b = MeasureOnce(bare, L"", &bareExit);
      a = MeasureOnce(bootfetch, L"\"" + url + L"\"", &oursExit);
    }
    std::printf("run %2d: bootfetch %8.1f ms (exit %lu), bare dialog %8.1f ms (exit %lu)\n", run, a,
                oursExit, b, bareExit);
    if (a < 0 || b < 0) return 1;
    ours.push_back(a);
    theirs.push_back(b);
  }
  const double oursMedian = bench::Median(ours), bareMedian = bench::Median(theirs);
  std::printf(
      "startup: bootfetch median %.0f ms, bare dialog median %.0f ms, ratio of medians %.2f; "
      "bootfetch fastest %.0f ms, bare dialog fastest %.0f ms, ratio of fastest %.2f; "
      "slowest %.0f / %.0f ms; %d runs\n",
      oursMedian, bareMedian, oursMedian / bareMedian, Min(ours), Min(theirs),
      Min(ours) / Min(theirs), Max(ours), Max(theirs), runs);
  return 0;
}
