#pragma once

#include <windows.h>

#include <string>

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
