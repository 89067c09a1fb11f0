#pragma once

#include <windows.h>
#include <shobjidl.h>

// The download's progress on the window's taskbar button (Windows 7 and
// later; nothing elsewhere): a bar while downloading, yellow while a lost
// connection waits to be tried again, red while the user is asked about a
// failure, nothing once the download is done or cancelled.
// The shell takes calls for a button only after it has sent the window
// ButtonCreatedMessage(); the state set before is shown then, and again
// whenever the shell makes the button anew (after a restart of Explorer).
class CTaskbarProgress {
 public:
  CTaskbarProgress() = default;
  ~CTaskbarProgress();
  CTaskbarProgress(const CTaskbarProgress&) = delete;
  CTaskbarProgress& operator=(const CTaskbarProgress&) = delete;

  // The registered message the shell sends when the button exists.
  static UINT ButtonCreatedMessage();
  // Call on ButtonCreatedMessage(), on the thread that initialised COM.
  void OnButtonCreated(HWND window);

  void ShowProgress(int percent);
  void ShowPaused(int percent);
  void ShowError();
  void Clear();

 private:
  void Show(TBPFLAG state, int percent);
  // Tells the button the state, the value or both, once it exists.
  void Send(bool state, bool value);

  ITaskbarList3* m_taskbar = nullptr;
  HWND m_window = nullptr;
  TBPFLAG m_state = TBPF_NOPROGRESS;
  int m_percent = 0;
};
