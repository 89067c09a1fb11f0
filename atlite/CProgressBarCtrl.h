#pragma once

#include <commctrl.h>

#include "CWindow.h"

namespace WTL {

// Handle of a progress bar ("msctls_progress32") it does not own.
class CProgressBarCtrl : public ATL::CWindow {
 public:
  CProgressBarCtrl(HWND window = nullptr) : CWindow(window) {}
  CProgressBarCtrl& operator=(HWND window) {
    m_hWnd = window;
    return *this;
  }

  // Returns the previous position.
  int SetPos(int position) { return static_cast<int>(SendMessage(PBM_SETPOS, position, 0)); }
  int GetPos() { return static_cast<int>(SendMessage(PBM_GETPOS, 0, 0)); }
};

}  // namespace WTL
