// The yardstick of the pinned download row (see download.sh): the hashing a
// pinned download does, without the network and the file. The test server's
// bytes (byte i is i % 251) are copied into two buffers in turn, in pieces of
// the download's largest read (what its reads take in on a quick link), and
// each piece goes to the download's own background hasher while the next one
// is filled.
// The digest must match the URL's pin, so the bytes are the body's.
// Usage: sha256_benchmark BYTES URL#sha256=DIGEST
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "checks/BackgroundHasher.h"
#include "download/RequestContext.h"
#include "checks/PackagePin.h"
#include "Stopwatch.h"

namespace {

const unsigned kPatternPeriod = 251;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring address;
  CSha256Digest pin = {};
  if (argc < 3 || ParsePackageUrl(argv[2], address, pin) != PinStatus::kPinned) {
    std::fprintf(stderr, "usage: sha256_benchmark BYTES URL#sha256=DIGEST\n");
    return 2;
  }
  const long long size = _wtoi64(argv[1]);
  const DWORD kPiece = CRequestContext::kBufferSize;
  // Any piece starts somewhere in the first period of the pattern.
  std::vector<char> pattern(kPiece + kPatternPeriod);
  for (std::size_t i = 0; i < pattern.size(); ++i)
    pattern[i] = static_cast<char>(i % kPatternPeriod);
  std::vector<char> buffers[2] = {std::vector<char>(kPiece), std::vector<char>(kPiece)};

  const bench::CStopwatch stopwatch;
  CSha256Digest digest = {};
  bool ok = true;
  {
    CBackgroundHasher hasher;
    int current = 0;
    for (long long offset = 0; offset < size; current ^= 1) {
      const DWORD piece = static_cast<DWORD>(std::min<long long>(kPiece, size - offset));
      std::copy_n(pattern.begin() + offset % kPatternPeriod, piece, buffers[current].begin());
      ok = hasher.Hash(buffers[current].data(), piece) && ok;
      offset += piece;
    }
    ok = hasher.Finish(digest) && ok;
  }
  const double seconds = stopwatch.Milliseconds() / 1000.0;
  const bool matches = ok && digest == pin;
  const double mebibytes = static_cast<double>(size) / (1024 * 1024);
  std::printf("bare SHA-256: %s, %.1f MiB in %.2f s = %.2f MiB/s\n",
              matches ? "ok" : "FAILED (not the pinned digest)", mebibytes, seconds,
              seconds > 0 ? mebibytes / seconds : 0);
  return matches ? 0 : 1;
}
