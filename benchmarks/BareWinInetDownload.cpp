// The download benchmark's same-Wine yardstick: one GET through WinInet,
// read 1 MiB at a time into a file in the temporary folder, and nothing
// else. Run through benchmarks/download.sh.
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <vector>

#include "Stopwatch.h"

namespace {

const DWORD kReadSize = 1024 * 1024;
// What CDownloader asks for: past the cache, no cookies, no UI.
const DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                            INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;

bool IsOk(HINTERNET request) {
  DWORD status = 0;
  DWORD length = sizeof(status);
  return HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length,
                        nullptr) &&
         status == HTTP_STATUS_OK;
}

// Bytes of the body written to path; -1 when a step fails.
long long Download(const wchar_t* url, const wchar_t* path) {
  HINTERNET root =
      InternetOpenW(L"bare_wininet_download", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  HINTERNET request = root ? InternetOpenUrlW(root, url, nullptr, 0, kRequestFlags, 0) : nullptr;
  HANDLE file =
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  std::vector<char> buffer(kReadSize);
  bool ok = request && IsOk(request) && file != INVALID_HANDLE_VALUE;
  long long total = 0;
  while (ok) {
    DWORD read = 0;
    DWORD written = 0;
    ok = InternetReadFile(request, buffer.data(), kReadSize, &read);
    if (!ok || read == 0) break;
    ok = WriteFile(file, buffer.data(), read, &written, nullptr) && written == read;
    total += read;
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (request) InternetCloseHandle(request);
  if (root) InternetCloseHandle(root);
  return ok ? total : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bare_wininet_download LABEL URL\n");
    return 2;
  }
  wchar_t folder[MAX_PATH];
  wchar_t path[MAX_PATH];
  if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"bwd", 0, path)) return 1;

  bench::CStopwatch stopwatch;
  const long long bytes = Download(argv[2], path);
  const double seconds = stopwatch.Milliseconds() / 1000;
  DeleteFileW(path);

  const double megabytes = bytes > 0 ? bytes / (1024.0 * 1024.0) : 0;
  std::printf("%ls: %s, %.1f MiB in %.2f s = %.2f MiB/s\n", argv[1], bytes < 0 ? "FAILED" : "ok",
              megabytes, seconds, seconds > 0 ? megabytes / seconds : 0);
  return bytes < 0 ? 1 : 0;
}
