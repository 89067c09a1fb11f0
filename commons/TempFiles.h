#pragma once

#include <windows.h>

#include <string>
#include <utility>

class CFileHandle;

// Creates an empty folder base + prefix [+ number] + suffix and returns its
// path without a trailing separator; the first candidate has no number. An
// empty base means the temporary folder. Gives up after 999 candidates.
std::wstring CreateTempFolder(const std::wstring& prefix, const std::wstring& suffix,
                              const std::wstring& baseFolder);

// Creates an empty file temp + prefix + number + extension, reserving the name
// for the caller. Gives up (empty result) after 999 candidates.
std::wstring CreateUniqueTempFile(const std::wstring& prefix, const std::wstring& extension);

// The same, but the new file stays open in `file` with the given access and
// sharing, so that nobody can take the name, or the file, between its
// creation and its use.
std::wstring CreateUniqueTempFile(const std::wstring& prefix, const std::wstring& extension,
                                  DWORD access, DWORD share, CFileHandle& file);

// Deletes a temporary file by name when it goes out of scope, whatever the
// path out, unless it was detached. An empty path guards nothing.
class CTempFileGuard {
 public:
  explicit CTempFileGuard(std::wstring path) : m_path(std::move(path)) {}
  ~CTempFileGuard() {
    if (!m_path.empty()) DeleteFileW(m_path.c_str());
  }
  CTempFileGuard(const CTempFileGuard&) = delete;
  CTempFileGuard& operator=(const CTempFileGuard&) = delete;

  const std::wstring& Path() const { return m_path; }
  // The file stays; returns its path.
  std::wstring Detach() { return std::exchange(m_path, std::wstring()); }

 private:
  std::wstring m_path;
};
