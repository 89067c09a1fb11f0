#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <set>
#include <string>

#include "Commands.h"
#include "Screenshot.h"

namespace demo {

namespace {

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

bool IsMessageBox(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return std::wstring(name) == L"#32770" && GetDlgItem(window, 0xFFFF) != nullptr;
}

// The message text of a message box, on one line.
std::wstring MessageText(HWND box) {
  std::wstring text = WindowText(GetDlgItem(box, 0xFFFF));
  for (wchar_t& c : text)
    if (c == L'\n' || c == L'\r') c = L' ';
  return text;
}

// The position of the window's progress bar in percent of its range, or -1
// when it has none.
int ProgressPercent(HWND window) {
  const HWND bar = FindWindowExW(window, nullptr, PROGRESS_CLASSW, nullptr);
  if (!bar) return -1;
  const LRESULT low = SendMessageW(bar, PBM_GETRANGE, TRUE, 0);
  const LRESULT high = SendMessageW(bar, PBM_GETRANGE, FALSE, 0);
  if (high <= low) return -1;
  const LRESULT position = SendMessageW(bar, PBM_GETPOS, 0, 0);
  return static_cast<int>((position - low) * 100 / (high - low));
}

bool ProcessRuns(const wchar_t* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
       more = Process32NextW(snapshot, &entry))
    found = lstrcmpiW(entry.szExeFile, name) == 0;
  CloseHandle(snapshot);
  return found;
}

class CWatcher {
 public:
  explicit CWatcher(const std::wstring& folder) : m_folder(folder) {}

  // One look at the visible top-level windows.
  void Look() { EnumWindows(&CWatcher::Visit, reinterpret_cast<LPARAM>(this)); }

 private:
  static BOOL CALLBACK Visit(HWND window, LPARAM self) {
    if (IsWindowVisible(window)) reinterpret_cast<CWatcher*>(self)->Handle(window);
    return TRUE;
  }

  void Handle(HWND window) {
    const std::wstring caption = WindowText(window);
    if (caption.rfind(L"Download ", 0) == 0 && !IsMessageBox(window)) {
      // Photographed once the bar has moved but the download has not ended.
      const int percent = ProgressPercent(window);
      if (percent > 0 && percent < 100)
        Event(window, L"download",
              L"bootfetch dialog \"" + caption + L"\" at " + std::to_wstring(percent) + L" %", 0);
    } else if (IsMessageBox(window) && caption == L"Vantrel Dulon 6 Setup") {
      Event(window, L"older-versions", L"askRemoveOld asks: " + MessageText(window), IDOK);
    } else if (IsMessageBox(window) && caption == L"Vantrel Dulon 6") {
      Event(window, L"product", L"the installed program started: " + MessageText(window), IDOK);
    } else if (IsMessageBox(window) &&
               MessageText(window).find(L"download") != std::wstring::npos) {
      Event(window, L"download-error", L"bootfetch reports: " + MessageText(window), IDCANCEL);
    }
  }

  // Reports a window once, takes a screenshot and, if asked, presses a button.
  void Event(HWND window, const std::wstring& name, const std::wstring& what, int button) {
    if (button == 0 && !m_seen.insert(name).second) return;
    if (button != 0 && !m_answered.insert(window).second) return;
    // Time to paint; the download dialog gets less, as it may soon be gone.
    Sleep(button != 0 ? 1500 : 400);
    const std::wstring file = m_folder + std::to_wstring(++m_count) + L"-" + name + L".bmp";
    SaveScreenshot(file);
    std::printf("  [%ls] %ls\n", name.c_str(), what.c_str());
    std::fflush(stdout);
    if (button != 0)
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
  }

  std::wstring m_folder;
  std::set<std::wstring> m_seen;
  std::set<HWND> m_answered;
  int m_count = 0;
};

}  // namespace

int Watch(const std::wstring& screenshotFolder, int timeLimitSeconds) {
  CWatcher watcher(screenshotFolder);
  const DWORD start = GetTickCount();
  bool started = false;
  int quietLooks = 0;
  while (GetTickCount() - start < static_cast<DWORD>(timeLimitSeconds) * 1000) {
    watcher.Look();
    const bool busy =
        ProcessRuns(L"bootfetch.exe") || ProcessRuns(L"msiexec.exe") || ProcessRuns(L"Dulon.exe");
    started = started || busy;
    // Done once everything has run and stayed ended for a few seconds.
    quietLooks = busy ? 0 : quietLooks + 1;
    if (started && quietLooks >= 12) return 0;
    Sleep(250);
  }
  std::printf("  [timeout] still running after %d s\n", timeLimitSeconds);
  return 1;
}

}  // namespace demo
