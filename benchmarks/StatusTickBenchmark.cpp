// The dialog's timer tick with the status line next to without it, on
// bootfetch's own dialog: the bar moves in both; with the line, the tick
// also shows the status through the dialog's CStatusLineView, which samples
// the speed, words the line (sizes through the system's formatting) and sets
// it when it changed. Each is timed with the tick's painting (UpdateWindow)
// and without it, as the handler alone. Prints the median microseconds of
// each and their ratio.
// Not a test: the figures depend on the machine.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Stopwatch.h"
#include "resource.h"
#include "ui/StatusLineView.h"

namespace {

const int kTicks = 2000;
const std::int64_t kTotal = 300LL << 20;
// Bytes between ticks: the text changes at every tick, the costlier case.
const std::int64_t kStep = 1234567;

INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

double TickMicroseconds(HWND dialog, bool statusLine, bool paint) {
  const HWND bar = GetDlgItem(dialog, IDC_PROGRESS);
  CComApartment com;
  CStatusLineView view;
  view.Attach(GetDlgItem(dialog, IDC_STATUS), bar, L"http://downloads.example/p.msi", com);
  // Its first show takes the catalogue's texts and the annotations, once.
  if (statusLine) view.Show(CDownloadStatus(), 0);
  std::vector<double> ticks;
  for (int i = 0; i < kTicks; ++i) {
    CDownloadStatus status;
    status.phase = CDownloadStatus::kDownloading;
    status.done = (i * kStep) % kTotal;
    status.total = kTotal;
    const bench::CStopwatch watch;
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(status.done * 100 / kTotal), 0);
    if (statusLine) view.Show(status, static_cast<DWORD>(i) * 500);
    if (paint) UpdateWindow(dialog);
    ticks.push_back(watch.Milliseconds() * 1000.0);
  }
  return bench::Median(ticks);
}

}  // namespace

int wmain() {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  const HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN),
                                         nullptr, DialogProc, 0);
  if (!dialog) return 1;
  ShowWindow(dialog, SW_SHOW);
  UpdateWindow(dialog);
  // Alternating rounds: a slow moment of the machine touches both.
  for (const bool paint : {true, false}) {
    std::vector<double> with, without;
    for (int round = 0; round < 5; ++round) {
      without.push_back(TickMicroseconds(dialog, false, paint));
      with.push_back(TickMicroseconds(dialog, true, paint));
      if (!paint) UpdateWindow(dialog);
    }
    const double withLine = bench::Median(with), withoutLine = bench::Median(without);
    std::printf("status tick%s: with the line %.1f us, without %.1f us, ratio %.2f\n",
                paint ? ", painted" : ", handler alone", withLine, withoutLine,
                withoutLine > 0 ? withLine / withoutLine : 0.0);
  }
  DestroyWindow(dialog);
  return 0;
}
