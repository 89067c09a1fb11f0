// The publisher check of a large signed package next to one SHA-256 pass
// over the same file, alternating, in the same Wine. The program whose
// publisher the package must share is named too, and read once beforehand,
// as bootfetch reads its own.
// Usage: publisher_check_benchmark PROGRAM PACKAGE ROUNDS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FileHandle.h"
#include "Stopwatch.h"
#include "checks/PublisherCheck.h"
#include "checks/Sha256.h"

namespace {

const DWORD kPiece = 1024 * 1024;

// Opens the package as the downloader holds it once complete.
bool OpenPackage(const wchar_t* path, CFileHandle& file) {
  return file.Create(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
}

bool HashFile(const wchar_t* path) {
  CFileHandle file;
  if (!OpenPackage(path, file)) return false;
  std::vector<char> buffer(kPiece);
  CSha256 sha;
  DWORD read = 0;
  while (file.Read(buffer.data(), kPiece, read) && read > 0)
    if (!sha.Update(buffer.data(), read)) return false;
  CSha256Digest digest;
  return sha.Finish(digest);
}

bool CheckFile(const CPublisher& publisher, const wchar_t* path) {
  CFileHandle file;
  return OpenPackage(path, file) && CheckPublisher(publisher, file.Get(), path) == nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: publisher_check_benchmark PROGRAM PACKAGE ROUNDS\n");
    return 2;
  }
  const CPublisher publisher = ReadPublisher(argv[1]);
  if (!publisher.isSigned) {
    std::fprintf(stderr, "the program is not signed\n");
    return 2;
  }
  std::vector<double> checks, hashes;
  bool ok = true;
  for (int round = 0; round < _wtoi(argv[3]); ++round) {
    const bench::CStopwatch check;
    ok = CheckFile(publisher, argv[2]) && ok;
    checks.push_back(check.Milliseconds());
    const bench::CStopwatch hash;
    ok = HashFile(argv[2]) && ok;
    hashes.push_back(hash.Milliseconds());
  }
  const double checkMs = bench::Median(checks);
  const double hashMs = bench::Median(hashes);
  std::printf("publisher check: %s, median %.0f ms vs one SHA-256 pass %.0f ms, ratio %.2f\n",
              ok ? "ok" : "FAILED (refused)", checkMs, hashMs, hashMs > 0 ? checkMs / hashMs : 0);
  return ok ? 0 : 1;
}
