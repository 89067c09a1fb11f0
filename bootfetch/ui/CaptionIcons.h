#pragma once

#include <windows.h>

// The small and the big icon of a window's caption (and taskbar button),
// drawn from one icon group at the sizes of the window's DPI rather than
// stretched. Owns the icons it loads; the window must not outlive it.
class CCaptionIcons {
 public:
  explicit CCaptionIcons(int iconGroup) : m_iconGroup(iconGroup) {}
  ~CCaptionIcons();
  CCaptionIcons(const CCaptionIcons&) = delete;
  CCaptionIcons& operator=(const CCaptionIcons&) = delete;

  // Gives the window icons for the DPI, replacing those set before.
  void Set(HWND window, UINT dpi);

 private:
  HICON Load(int systemMetric, UINT dpi) const;

  int m_iconGroup;
  HICON m_small = nullptr;
  HICON m_big = nullptr;
};
