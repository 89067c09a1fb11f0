#pragma once

#include <windows.h>

namespace ATL {

// Anything with a message map. Returns TRUE when a handler took the message;
// the handler's result is then in `result`.
class CMessageMap {
 public:
  virtual BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT& result, DWORD msgMapId) = 0;

 protected:
  ~CMessageMap() = default;
};

}  // namespace ATL
