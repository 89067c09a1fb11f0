// Prints how fast CDownloader fetches one URL. Not a test: the figures
// depend on the machine. Run through benchmark_download.sh.
#include <windows.h>

#include <cstdio>
#include <string>

#include "Downloader.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: download_benchmark URL\n");
    return 2;
  }
  LARGE_INTEGER frequency, begin, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&begin);

  CDownloader downloader;
  downloader.Start(argv[1]);
  if (downloader.IsDownloading()) downloader.WaitForWorker(INFINITE);

  QueryPerformanceCounter(&end);
  const bool failed = !downloader.GetErrorText().empty();
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExW(downloader.GetFilePath().c_str(), GetFileExInfoStandard, &data);
  downloader.Cancel();  // the package is not needed

  const double seconds = static_cast<double>(end.QuadPart - begin.QuadPart) / frequency.QuadPart;
  const double megabytes = data.nFileSizeLow / (1024.0 * 1024.0);
  std::printf("CDownloader (1024-byte reads): %s, %.1f MiB in %.2f s = %.1f MiB/s\n",
              failed ? "FAILED" : "ok", megabytes, seconds, seconds > 0 ? megabytes / seconds : 0);
  return failed ? 1 : 0;
}
