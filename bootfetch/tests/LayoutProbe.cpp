// Loaded into the running bootfetch.exe by the DPI tests: measures the
// dialog there, where the fonts and icons the program made can be used.
#include "LayoutProbe.h"

namespace {

SIZE IconSize(HWND window, WPARAM which) {
  const auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
  ICONINFO info = {};
  BITMAP bitmap = {};
  if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return {bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

CProbedControl Measure(HWND control) {
  CProbedControl probed = {GetDlgCtrlID(control), {}, {}, 0};
  RECT client = {};
  GetClientRect(control, &client);
  probed.client = {client.right, client.bottom};
  wchar_t text[256] = {};
  GetWindowTextW(control, text, 256);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW logFont = {};
  if (font && GetObjectW(font, sizeof(logFont), &logFont)) probed.fontHeight = logFont.lfHeight;
  const HDC dc = GetDC(control);
  const HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
  RECT extent = {};
  if (text[0]) DrawTextW(dc, text, -1, &extent, DT_CALCRECT | DT_SINGLELINE);
  probed.text = {extent.right, extent.bottom};
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return probed;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI RunLayoutProbe(void* parameter) {
  CLayoutProbe& probe = *static_cast<CLayoutProbe*>(parameter);
  if (probe.moveToDpi) {
    // What Windows suggests on a move: the window scaled about its corner.
    RECT suggested = {};
    GetWindowRect(probe.dialog, &suggested);
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    suggested.right =
        suggested.left + MulDiv(suggested.right - suggested.left, probe.moveToDpi, dpi);
    suggested.bottom =
        suggested.top + MulDiv(suggested.bottom - suggested.top, probe.moveToDpi, dpi);
    SendMessageW(probe.dialog, WM_DPICHANGED, MAKEWPARAM(probe.moveToDpi, probe.moveToDpi),
                 reinterpret_cast<LPARAM>(&suggested));
  }
  RECT client = {};
  GetClientRect(probe.dialog, &client);
  probe.client = {client.right, client.bottom};
  probe.smallIcon = IconSize(probe.dialog, ICON_SMALL);
  probe.bigIcon = IconSize(probe.dialog, ICON_BIG);
  probe.controlCount = 0;
  for (HWND child = GetWindow(probe.dialog, GW_CHILD);
       child && probe.controlCount < static_cast<int>(ARRAYSIZE(probe.controls));
       child = GetWindow(child, GW_HWNDNEXT))
    probe.controls[probe.controlCount++] = Measure(child);
  return 1;
}
