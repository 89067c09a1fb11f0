// Prints how fast CDownloader fetches one URL, and how often its progress
// moves while it does; with --retry, a failed attempt is retried once, as
// the error box's Retry does; with --resume-by-itself, the retry schedule
// decides as in the dialog (pauses included), every question it asks counts
// as a user's Retry, and the line tells how many there were. Not a test: the figures depend on the
// machine. Run through benchmarks/download.sh.
#include <windows.h>

#include <cstdio>
#include <string>

#include "download/Downloader.h"
#include "download/RetrySchedule.h"

namespace {

// A download that needs more of the user than this has failed.
const int kMostUserActions = 100;

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: download_benchmark LABEL URL [--retry]\n");
    return 2;
  }
  const bool retry = argc > 3 && std::wstring(argv[3]) == L"--retry";
  const bool byItself = argc > 3 && std::wstring(argv[3]) == L"--resume-by-itself";
  CRetrySchedule schedule;
  int userActions = 0;
  int automaticTries = 0;
  LARGE_INTEGER begin, now, lastMove;
  QueryPerformanceCounter(&begin);
  lastMove = begin;

  // Polls the progress the way a fast timer would, counting how often it moves
  // and the longest time it stands still.
  CDownloader downloader;
  double progress = 0;
  int moves = 0;
  double longestStill = 0;
  for (int attempt = 0; attempt < (retry ? 2 : 1) || byItself; ++attempt) {
    if (attempt > 0 && downloader.GetOutcome().kind == OutcomeKind::kComplete) break;
    if (attempt > 0 && byItself) {
      const CRetryDecision next = schedule.After(downloader.GetOutcome(), GetTickCount());
      if (next.action == RetryAction::kResume) {
        ++automaticTries;
        Sleep(next.pauseMs);
      } else if (++userActions > kMostUserActions) {
        break;
      }
    }
    downloader.Start(argv[2]);
    progress = downloader.GetProgress();
    while (downloader.IsDownloading()) {
      downloader.WaitForWorker(10);
      QueryPerformanceCounter(&now);
      if (downloader.GetProgress() == progress) continue;
      progress = downloader.GetProgress();
      ++moves;
      if (Seconds(lastMove, now) > longestStill) longestStill = Seconds(lastMove, now);
      lastMove = now;
    }
  }
  QueryPerformanceCounter(&now);

  const bool failed = downloader.GetOutcome().kind != OutcomeKind::kComplete;
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExW(downloader.GetFilePath().c_str(), GetFileExInfoStandard, &data);
  downloader.Cancel();  // the package is not needed

  const double seconds = Seconds(begin, now);
  const double megabytes = data.nFileSizeLow / (1024.0 * 1024.0);
  std::printf(
      "%ls: %s, %.1f MiB in %.2f s = %.2f MiB/s; progress moved %d times (%.1f/s), "
      "stood still at most %.0f ms\n",
      argv[1], failed ? "FAILED" : "ok", megabytes, seconds, seconds > 0 ? megabytes / seconds : 0,
      moves, seconds > 0 ? moves / seconds : 0, longestStill * 1000);
  if (byItself)
    std::printf("%ls: user actions %d, automatic tries %d\n", argv[1], userActions, automaticTries);
  return failed ? 1 : 0;
}
