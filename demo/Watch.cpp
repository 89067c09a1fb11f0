#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "Commands.h"
#include "Encoding.h"
#include "Screenshot.h"
#include "WindowText.h"

namespace demo {

namespace {

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

// Lower-case program names of the running processes, by process id.
std::map<DWORD, std::wstring> RunningPrograms() {
  std::map<DWORD, std::wstring> programs;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return programs;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    programs[entry.th32ProcessID] = CharLowerW(entry.szExeFile);
  CloseHandle(snapshot);
  return programs;
}

std::wstring ProgramOfWindow(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return RunningPrograms()[processId];
}

// bootfetch.exe or one of the localized bootfetch-LANG.exe.
bool IsBootstrapper(const std::wstring& program) { return program.rfind(L"bootfetch", 0) == 0; }

bool SetupIsBusy() {
  for (const auto& running : RunningPrograms()) {
    const std::wstring& program = running.second;
    if (IsBootstrapper(program) || program == L"msiexec.exe" || program == L"dulon.exe")
      return true;
  }
  return false;
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

  // The bootstrapper's windows are known by their program, as their texts
  // are in its language; the question's caption names the product in any.
  void Handle(HWND window) {
    const std::wstring caption = WindowText(window);
    const bool bootstrapper = IsBootstrapper(ProgramOfWindow(window));
    if (bootstrapper && !IsMessageBox(window)) {
      // Photographed once the bar has moved but the download has not ended.
      const int percent = ProgressPercent(window);
      if (percent > 0 && percent < 100)
        Event(window, L"download",
              L"bootfetch dialog \"" + caption + L"\" at " + std::to_wstring(percent) + L" %", 0);
    } else if (bootstrapper) {
      Event(window, L"download-error", L"bootfetch reports: " + MessageText(window), IDCANCEL);
    } else if (IsMessageBox(window) && caption == L"Vantrel Dulon 6") {
      Event(window, L"product", L"the installed program started: " + MessageText(window), IDOK);
    } else if (IsMessageBox(window) && caption.find(L"Vantrel Dulon 6") != std::wstring::npos) {
      Event(window, L"older-versions",
            L"askRemoveOld asks \"" + caption + L"\": " + MessageText(window), IDOK);
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
    // UTF-8, as the texts may be in any language.
    std::printf("  [%ls] %s\n", name.c_str(), WideToUtf8(what).c_str());
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
    const bool busy = SetupIsBusy();
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
