#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// What a message box of this process showed.
struct SeenMessageBox {
  std::wstring caption;
  std::wstring text;
  std::vector<int> buttons;  // control identifiers, IDOK, IDCANCEL, ...
  bool questionIcon = false;
};

// Answers every message box of this process with one button, from a thread
// of its own, and records what each box showed.
class CMessageBoxWatcher {
 public:
  explicit CMessageBoxWatcher(int answer);
  ~CMessageBoxWatcher();
  CMessageBoxWatcher(const CMessageBoxWatcher&) = delete;
  CMessageBoxWatcher& operator=(const CMessageBoxWatcher&) = delete;

  std::vector<SeenMessageBox> Seen();

 private:
  void Watch();
  static BOOL CALLBACK FindBox(HWND window, LPARAM context);

  const int m_answer;
  std::atomic<bool> m_stop{false};
  std::mutex m_mutex;
  std::vector<SeenMessageBox> m_seen;
  std::thread m_thread;
};
