#include "MessageBoxWatcher.h"

#include "WindowText.h"

namespace {

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

BOOL CALLBACK ReadControl(HWND control, LPARAM context) {
  auto* box = reinterpret_cast<SeenMessageBox*>(context);
  const std::wstring type = ClassName(control);
  if (_wcsicmp(type.c_str(), L"Button") == 0) {
    box->buttons.push_back(GetDlgCtrlID(control));
  } else if (_wcsicmp(type.c_str(), L"Static") == 0) {
    if ((GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      // System icons are shared, so the box shows the very handle we load.
      const auto icon = reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0));
      box->questionIcon = icon && icon == LoadIconW(nullptr, IDI_QUESTION);
    } else if (GetWindowTextLengthW(control) > 0) {
      box->text = WindowText(control);
    }
  }
  return TRUE;
}

}  // namespace

CMessageBoxWatcher::CMessageBoxWatcher(int answer)
    : m_answer(answer), m_thread([this] { Watch(); }) {}

CMessageBoxWatcher::~CMessageBoxWatcher() {
  m_stop = true;
  m_thread.join();
}

std::vector<SeenMessageBox> CMessageBoxWatcher::Seen() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_seen;
}

BOOL CALLBACK CMessageBoxWatcher::FindBox(HWND window, LPARAM context) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
      ClassName(window) != L"#32770")
    return TRUE;
  *reinterpret_cast<HWND*>(context) = window;
  return FALSE;
}

void CMessageBoxWatcher::Watch() {
  while (!m_stop) {
    HWND box = nullptr;
    EnumWindows(&CMessageBoxWatcher::FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box) {
      Sleep(50);
      continue;
    }
    SeenMessageBox seen;
    seen.caption = WindowText(box);
    EnumChildWindows(box, &ReadControl, reinterpret_cast<LPARAM>(&seen));
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_seen.push_back(seen);
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(m_answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, m_answer)));
    while (!m_stop && IsWindow(box) && IsWindowVisible(box)) Sleep(20);
  }
}
