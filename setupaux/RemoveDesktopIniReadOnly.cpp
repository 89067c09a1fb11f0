#include <shlobj.h>

#include <stdexcept>
#include <string>

#include "Actions.h"
#include "CustomAction.h"
#include "PathUtils.h"

using namespace setupaux;

namespace {

void ClearDesktopIniReadOnly() {
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_DESKTOPDIRECTORY, FALSE))
    throw std::runtime_error("GetDesktopFolder");
  const std::wstring path = EnsureTrailingSeparator(folder) + L"desktop.ini";

  // No "insert a disk" box for a desktop on a removable or absent drive.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  const DWORD present = GetFileAttributesW(path.c_str());
  SetErrorMode(oldMode);
  if (present == INVALID_FILE_ATTRIBUTES) return;

  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) throw std::runtime_error("GetFileAttributes");
  if (!SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
    throw std::runtime_error("SetFileAttributes");
}

}  // namespace

// Never stops the installation: every failure counts as success.
UINT __stdcall removeDesktopIniReadOnlyAttribute(MSIHANDLE) {
  return RunCustomAction(
      []() -> UINT {
        ClearDesktopIniReadOnly();
        return ERROR_SUCCESS;
      },
      ERROR_SUCCESS);
}
