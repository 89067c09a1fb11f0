#include "PathUtils.h"

#include <windows.h>

namespace {

bool EndsWithSeparator(const std::wstring& path) {
  return !path.empty() && (path.back() == L'\\' || path.back() == L'/');
}

bool StartsWithTwoBackslashes(const std::wstring& path) {
  return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
}

class CFindHandle {
 public:
  explicit CFindHandle(HANDLE handle) : m_handle(handle) {}
  ~CFindHandle() {
    if (m_handle != INVALID_HANDLE_VALUE) FindClose(m_handle);
  }
  CFindHandle(const CFindHandle&) = delete;
  CFindHandle& operator=(const CFindHandle&) = delete;
  HANDLE Get() const { return m_handle; }

 private:
  HANDLE m_handle;
};

}  // namespace

bool FileExists(const std::wstring& path) {
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  SetErrorMode(oldMode);
  return attributes != INVALID_FILE_ATTRIBUTES;
}

std::wstring EnsureTrailingSeparator(const std::wstring& path) {
  if (path.empty()) return L"\\";
  if (EndsWithSeparator(path)) return path;
  return path + L"\\";
}

std::wstring GetParentPath(const std::wstring& path) {
  if (path.empty()) return std::wstring();
  const std::wstring::size_type separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return std::wstring();
  if (StartsWithTwoBackslashes(path) && separator == 1) return std::wstring();
  return path.substr(0, separator);
}

bool IsUncServer(const std::wstring& path) {
  return StartsWithTwoBackslashes(path) && GetParentPath(path).empty();
}

bool IsUncShare(const std::wstring& path) {
  if (!StartsWithTwoBackslashes(path) || IsUncServer(path)) return false;
  const std::wstring parent = GetParentPath(path);
  return !parent.empty() && GetParentPath(parent).empty();
}

bool CreateFolderPath(const std::wstring& path) {
  if (path.empty() || IsUncShare(path) || IsUncServer(path)) return true;
  if (!CreateFolderPath(GetParentPath(path))) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return CreateDirectoryW(path.c_str(), nullptr) != FALSE;
  return true;
}

namespace {

void DeleteEntries(const std::wstring& folder, const std::wstring& pattern, bool recursive) {
  WIN32_FIND_DATAW entry;
  CFindHandle find(FindFirstFileW(pattern.c_str(), &entry));
  if (find.Get() == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = entry.cFileName;
    const std::wstring full = folder + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (recursive && name != L"." && name != L"..") RemoveFolder(full, true);
    } else {
      // Clears read-only so that such files are deleted too.
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(full.c_str());
    }
  } while (FindNextFileW(find.Get(), &entry));
}

}  // namespace

void RemoveFolder(const std::wstring& path, bool recursive) {
  if (path.empty()) return;
  const std::wstring folder = EnsureTrailingSeparator(path);
  const std::wstring pattern = folder + L"*.*";
  if (pattern.size() >= MAX_PATH) return;
  // The enumeration is closed before the folder itself is removed.
  DeleteEntries(folder, pattern, recursive);
  RemoveDirectoryW(GetParentPath(pattern).c_str());
}
