#pragma once

#include <string>

#include "download/DownloadOutcome.h"

// The texts of the program's message boxes: the catalogue's, or the built-in
// English ones when no catalogue answers, so that no box is ever empty (an
// empty download error would read as success).

// The catalogue's text of the message, or the built-in English one.
std::wstring TranslationOr(const wchar_t* id, const wchar_t* builtIn);

// The one text a user sees for any failed download.
std::wstring DownloaderErrorText();
// The error box's text for an attempt's outcome; empty when it did not fail.
std::wstring DownloadErrorText(const CDownloadOutcome& outcome);
// A package that was downloaded but that the shell could not open, with its
// full path, so that the user can open it.
std::wstring LaunchErrorText(const std::wstring& packagePath);
