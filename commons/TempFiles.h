#pragma once

#include <string>

// Creates an empty folder base + prefix [+ number] + suffix and returns its
// path without a trailing separator; the first candidate has no number. An
// empty base means the temporary folder. Gives up after 999 candidates.
std::wstring CreateTempFolder(const std::wstring& prefix, const std::wstring& suffix,
                              const std::wstring& baseFolder);

// Creates an empty file temp + prefix + number + extension, reserving the name
// for the caller. Gives up (empty result) after 999 candidates.
std::wstring CreateUniqueTempFile(const std::wstring& prefix, const std::wstring& extension);
