// Prints how fast the system's SHA-256 (the one a pinned download uses)
// hashes in memory, in the 1 MiB pieces of the downloader's largest reads.
// The yardstick of the pinned download row; see download.sh.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "pin/Sha256.h"
#include "Stopwatch.h"

int wmain(int argc, wchar_t** argv) {
  const int mebibytes = argc > 1 ? _wtoi(argv[1]) : 200;
  std::vector<char> piece(1 << 20);
  for (std::size_t i = 0; i < piece.size(); ++i) piece[i] = static_cast<char>(i % 251);
  bench::CStopwatch stopwatch;
  CSha256 sha;
  bool ok = true;
  for (int i = 0; i < mebibytes; ++i)
    ok = sha.Update(piece.data(), static_cast<DWORD>(piece.size())) && ok;
  CSha256Digest digest;
  ok = sha.Finish(digest) && ok;
  const double seconds = stopwatch.Milliseconds() / 1000.0;
  std::printf("bare SHA-256: %s, %d MiB in %.2f s = %.2f MiB/s\n", ok ? "ok" : "FAILED", mebibytes,
              seconds, seconds > 0 ? mebibytes / seconds : 0);
  return ok ? 0 : 1;
}
