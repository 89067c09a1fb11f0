#include "ui/CaptionIcons.h"

#include <commctrl.h>

#include "ResourceInstance.h"
#include "system/SystemLibrary.h"
#include "ui/WindowDpi.h"

namespace {

void Replace(HICON& held, HICON icon) {
  if (held) DestroyIcon(held);
  held = icon;
}

}  // namespace

CCaptionIcons::~CCaptionIcons() {
  Replace(m_small, nullptr);
  Replace(m_big, nullptr);
}

void CCaptionIcons::Set(HWND window, UINT dpi) {
  const HICON small = Load(SM_CXSMICON, dpi);
  const HICON big = Load(SM_CXICON, dpi);
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  // The window has let go of the old ones now.
  Replace(m_small, small);
  Replace(m_big, big);
}

HICON CCaptionIcons::Load(int systemMetric, UINT dpi) const {
  // System metrics are those of the system DPI, whatever the monitor's.
  const int size = MulDiv(GetSystemMetrics(systemMetric), dpi, SystemDpi());
  const HINSTANCE instance = ATL::GetResourceInstance();
  // Scales a larger image down when the group has none of that size, where
  // LoadImage may scale a smaller one up and blur it. Looked up because the
  // import library lacks it (common controls 6 have it since Vista).
  static const auto loadScaledDown =
      SystemFunction<decltype(LoadIconWithScaleDown)>(L"comctl32.dll", "LoadIconWithScaleDown");
  HICON icon = nullptr;
  if (loadScaledDown &&
      SUCCEEDED(loadScaledDown(instance, MAKEINTRESOURCEW(m_iconGroup), size, size, &icon)))
    return icon;
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(m_iconGroup), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
