#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "checks/PackagePin.h"
#include "checks/Sha256.h"

class CBackgroundHasher;

// The checks of a downloaded package, apart from its transfer: the pin in
// its URL, over the body as it streams, and its publisher, on the complete
// file. The download loop begins them, adds every piece and finishes them.
// Each step answers null, or the step of the check that refused the package.
class CPackageChecks {
 public:
  // buffers: the two that the body is read into, which outlive the checks.
  CPackageChecks(PinStatus pin, const CSha256Digest& pinned, std::vector<char>* buffers);
  ~CPackageChecks();
  CPackageChecks(const CPackageChecks&) = delete;
  CPackageChecks& operator=(const CPackageChecks&) = delete;

  // Takes in the kept part of a resumed body, read back through the handle
  // that wrote it, which then stands at the part's end, where the rest goes.
  const wchar_t* Begin(HANDLE file, std::int32_t kept);
  // Where the next piece is read into: a piece added stays untouched until
  // the next Add or FinishBody has returned.
  std::vector<char>& Buffer() { return m_buffers[m_current]; }
  const wchar_t* Add(const char* data, DWORD size);
  // On the body as written, while the file is still held for writing and
  // marked for deletion: a package refused here never outlives the program.
  const wchar_t* FinishBody();
  // On the complete file, once held for reading only: the system's package
  // support may open it by its name beside that handle.
  const wchar_t* FinishFile(HANDLE file, const std::wstring& path);

 private:
  const CSha256Digest m_pinned;
  std::vector<char>* const m_buffers;
  int m_current = 0;
  // Hashes one piece behind the reads; null without a pin.
  std::unique_ptr<CBackgroundHasher> m_hasher;
};
