#include "DemoPaths.h"

#include <windows.h>
#include <shlobj.h>

#include "PathUtils.h"

namespace demo {

std::wstring CommonDesktopIni() {
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_DESKTOPDIRECTORY, TRUE)) return {};
  return EnsureTrailingSeparator(folder) + L"desktop.ini";
}

}  // namespace demo
