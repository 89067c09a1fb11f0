#pragma once

#include <string>

// The texts of the program's message boxes: the catalogue's, or the built-in
// English ones when no catalogue answers, so that no box is ever empty (an
// empty download error would read as success).

// The one text a user sees for any failed download.
std::wstring DownloaderErrorText();
// A package that was downloaded but that the shell could not open, with its
// full path, so that the user can open it.
std::wstring LaunchErrorText(const std::wstring& packagePath);
