#pragma once

#include <windows.h>

#include <vector>

// Lays a dialog out again when it moves to a monitor of another scale: its
// client area, its controls and their font follow the new DPI in proportion
// to the layout the dialog manager made at creation, so that nothing drifts
// over several moves. The same code runs on every Windows: the dialog
// manager's own rescaling (Windows 10 1703 and later) is switched off.
class CDialogDpiLayout {
 public:
  CDialogDpiLayout() = default;
  ~CDialogDpiLayout();
  CDialogDpiLayout(const CDialogDpiLayout&) = delete;
  CDialogDpiLayout& operator=(const CDialogDpiLayout&) = delete;

  // Takes the dialog's current layout as the one of its current DPI.
  void Capture(HWND dialog);
  // The DPI the dialog is laid out for.
  UINT Dpi() const { return m_dpi; }
  // Lays the dialog out for the DPI, its window where WM_DPICHANGED
  // suggests.
  void Apply(HWND dialog, UINT dpi, const RECT& suggested);

 private:
  struct CControl {
    HWND window;
    RECT rect;  // in the dialog's client area
  };
  int Scale(LONG length) const;
  void SetFont(HWND dialog);

  std::vector<CControl> m_controls;
  SIZE m_client = {};
  LOGFONTW m_font = {};
  bool m_hasFont = false;
  UINT m_capturedDpi = USER_DEFAULT_SCREEN_DPI;
  UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
  HFONT m_scaledFont = nullptr;  // ours; the dialog manager owns the first
};
