#include "ShellOpenFile.h"

#include <shellapi.h>

static_assert(sizeof(void*) != 4 || sizeof(SHELLEXECUTEINFOW) == 60,
              "the shell expects the 60-byte record on 32-bit Windows");

bool ShellOpenFile(const std::wstring& file, HWND owner) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  // Callers exit right after the call: some launches would otherwise still
  // be under way on a thread of the shell's.
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&info) != FALSE;
}
