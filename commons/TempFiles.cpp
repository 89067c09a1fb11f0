#include "TempFiles.h"

#include <windows.h>

#include "FileHandle.h"
#include "PathUtils.h"
#include "StringUtils.h"

namespace {

const int kMaxAttempts = 1000;  // attempts reaching this count give up: 999 candidates

// Numbers temporary names from the tick count, counting up per candidate.
class CNameCounter {
 public:
  CNameCounter() : m_seed(GetTickCount()) {}
  std::wstring Next() { return IntToString(static_cast<int>(m_seed++ & 0x7FFFFFFF)); }

 private:
  DWORD m_seed;
};

bool GetTempFolder(std::wstring& folder) {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetTempPathW(MAX_PATH, buffer);
  if (length == 0 || length > MAX_PATH) return false;
  folder.assign(buffer, length);
  return true;
}

}  // namespace

std::wstring CreateTempFolder(const std::wstring& prefix, const std::wstring& suffix,
                              const std::wstring& baseFolder) {
  std::wstring base;
  if (!baseFolder.empty())
    base = EnsureTrailingSeparator(baseFolder);
  else if (!GetTempFolder(base))
    return std::wstring();

  CNameCounter counter;
  bool first = true;
  for (int attempts = 1; attempts < kMaxAttempts; ++attempts) {
    const std::wstring candidate = base + prefix + (first ? L"" : counter.Next()) + suffix;
    first = false;
    const DWORD attributes = GetFileAttributesW(candidate.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (CreateFolderPath(candidate)) return candidate;
  }
  return std::wstring();
}

std::wstring CreateUniqueTempFile(const std::wstring& prefix, const std::wstring& extension) {
  CFileHandle file;
  return CreateUniqueTempFile(prefix, extension, GENERIC_WRITE, 0, file);
}

std::wstring CreateUniqueTempFile(const std::wstring& prefix, const std::wstring& extension,
                                  DWORD access, DWORD share, CFileHandle& file) {
  std::wstring folder;
  if (!GetTempFolder(folder)) return std::wstring();

  CNameCounter counter;
  // Bounded so that an unwritable temporary folder ends with an empty result.
  for (int attempts = 1; attempts < kMaxAttempts; ++attempts) {
    const std::wstring candidate = folder + prefix + counter.Next() + extension;
    if (file.Create(candidate.c_str(), access, share, CREATE_NEW, FILE_ATTRIBUTE_NORMAL))
      return candidate;
  }
  return std::wstring();
}
