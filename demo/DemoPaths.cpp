#include "DemoPaths.h"

#include <windows.h>
#include <shlobj.h>

#include "PathUtils.h"

namespace demo {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring text = path;
  return text.substr(0, text.find_last_of(L"\\/") + 1);
}

std::wstring CommonDesktopIni() {
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_DESKTOPDIRECTORY, TRUE)) return {};
  return EnsureTrailingSeparator(folder) + L"desktop.ini";
}

}  // namespace demo
