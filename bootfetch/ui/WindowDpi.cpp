#include "ui/WindowDpi.h"

#include "system/SystemLibrary.h"

UINT SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

UINT WindowDpi(HWND window) {
  static const auto getDpiForWindow =
      SystemFunction<UINT WINAPI(HWND)>(L"user32.dll", "GetDpiForWindow");
  const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
  return dpi ? dpi : SystemDpi();
}
