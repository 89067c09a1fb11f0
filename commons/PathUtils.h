#pragma once

#include <string>

// Folders count as existing. Never shows a critical-error box.
bool FileExists(const std::wstring& path);

// Empty gives "\"; a path ending with "\" or "/" is returned unchanged.
std::wstring EnsureTrailingSeparator(const std::wstring& path);

// Path up to the last separator; empty for a bare name or a bare UNC server.
std::wstring GetParentPath(const std::wstring& path);

bool IsUncServer(const std::wstring& path);  // \\server
bool IsUncShare(const std::wstring& path);   // \\server\share

// Creates the folder and any missing parents.
bool CreateFolderPath(const std::wstring& path);

// Deletes the files of a folder (read-only ones too) and the folder itself;
// subfolders only when recursive. Failures are ignored.
void RemoveFolder(const std::wstring& path, bool recursive);
