#pragma once

#include <windows.h>

#include "MessageMapMacros.h"

namespace quenrow_commons {

// Keeps the keyboard focus on the window of T whenever the application is
// activated or deactivated.
template <class T>
class CAlwaysActivatedWindow {
 public:
  BEGIN_MSG_MAP(CAlwaysActivatedWindow)
    MESSAGE_HANDLER(WM_ACTIVATEAPP, OnActivateApp)
  END_MSG_MAP()

  LRESULT OnActivateApp(UINT /*message*/, WPARAM /*active*/, LPARAM /*threadId*/,
                        BOOL& /*bHandled*/) {
    ::SetFocus(static_cast<T*>(this)->m_hWnd);
    return 0;
  }
};

}  // namespace quenrow_commons
