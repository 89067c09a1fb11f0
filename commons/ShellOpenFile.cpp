#include "ShellOpenFile.h"

#include <shellapi.h>

static_assert(sizeof(void*) != 4 || sizeof(SHELLEXECUTEINFOW) == 60,
              "the shell expects the 60-byte record on 32-bit Windows");

void ShellOpenFile(const std::wstring& file, HWND owner) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&info);
}
