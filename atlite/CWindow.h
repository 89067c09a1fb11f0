#pragma once

#include <windows.h>

#include <string>

namespace ATL {

// Holds a window handle it does not own; every operation is the Win32 call
// of the same name on that handle, with its result returned as is.
class CWindow {
 public:
  HWND m_hWnd;

  CWindow(HWND window = nullptr) : m_hWnd(window) {}
  CWindow& operator=(HWND window) {
    m_hWnd = window;
    return *this;
  }
  operator HWND() const { return m_hWnd; }

  void Attach(HWND window) { m_hWnd = window; }
  HWND Detach() {
    HWND window = m_hWnd;
    m_hWnd = nullptr;
    return window;
  }
  BOOL IsWindow() const { return ::IsWindow(m_hWnd); }

  int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
  int GetWindowText(LPWSTR text, int maxCount) const {
    return ::GetWindowTextW(m_hWnd, text, maxCount);
  }
  // The whole text; empty when the window has none or it cannot be read.
  // Returns the number of characters read.
  int GetWindowText(std::wstring& text) const;
  BOOL SetWindowText(LPCWSTR text) { return ::SetWindowTextW(m_hWnd, text); }

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
  }

  // Returns the icon previously set for that size.
  HICON SetIcon(HICON icon, BOOL bigIcon = TRUE) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
  }

  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC timerProc = nullptr) {
    return ::SetTimer(m_hWnd, id, elapse, timerProc);
  }
  BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

  BOOL EndDialog(int result) { return ::EndDialog(m_hWnd, result); }
  CWindow GetDlgItem(int id) const { return CWindow(::GetDlgItem(m_hWnd, id)); }
  HWND SetFocus() { return ::SetFocus(m_hWnd); }
  int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK) {
    return ::MessageBoxW(m_hWnd, text, caption, type);
  }

  BOOL GetWindowRect(LPRECT rect) const { return ::GetWindowRect(m_hWnd, rect); }
  HWND GetOwner() const { return ::GetWindow(m_hWnd, GW_OWNER); }

  // Centres the window on its owner when the owner is visible and not
  // minimised, else on the work area of its monitor; the result is kept
  // inside that work area. Neither resizes, reorders nor activates.
  BOOL CenterWindow();
};

}  // namespace ATL
