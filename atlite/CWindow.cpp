#include "CWindow.h"

#include <vector>

#include "CenteredPosition.h"

namespace ATL {

int CWindow::GetWindowText(std::wstring& text) const {
  text.clear();
  const int length = ::GetWindowTextLengthW(m_hWnd);
  if (length <= 0) return 0;
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  const int read = ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
  if (read > 0) text.assign(buffer.data(), static_cast<size_t>(read));
  return static_cast<int>(text.size());
}

BOOL CWindow::CenterWindow() {
  HWND owner = GetOwner();
  if (owner != nullptr && (!::IsWindowVisible(owner) || ::IsIconic(owner))) owner = nullptr;

  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (!::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST),
                         &monitor))
    return FALSE;

  RECT window;
  if (!GetWindowRect(&window)) return FALSE;
  RECT reference = monitor.rcWork;
  if (owner != nullptr && !::GetWindowRect(owner, &reference)) return FALSE;

  const POINT pos = atlite::CenteredPosition(window, reference, monitor.rcWork);
  return ::SetWindowPos(m_hWnd, nullptr, pos.x, pos.y, -1, -1,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ATL
