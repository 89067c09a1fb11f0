#include "ui/DialogDpiLayout.h"

#include "system/SystemLibrary.h"
#include "ui/WindowDpi.h"

namespace {

void KeepDialogManagerFromRescaling(HWND dialog) {
  const auto setBehavior =
      SystemFunction<BOOL WINAPI(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS)>(
          L"user32.dll", "SetDialogDpiChangeBehavior");
  if (setBehavior) setBehavior(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

SIZE ClientSize(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

}  // namespace

CDialogDpiLayout::~CDialogDpiLayout() {
  if (m_scaledFont) DeleteObject(m_scaledFont);
}

void CDialogDpiLayout::Capture(HWND dialog) {
  KeepDialogManagerFromRescaling(dialog);
  m_capturedDpi = m_dpi = WindowDpi(dialog);
  m_client = ClientSize(dialog);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  m_hasFont = font && GetObjectW(font, sizeof(m_font), &m_font) == sizeof(m_font);
  m_controls.clear();
  // Direct children only: a control lays out its own children.
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    CControl control = {child, {}};
    GetWindowRect(child, &control.rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control.rect), 2);
    m_controls.push_back(control);
  }
}

void CDialogDpiLayout::Apply(HWND dialog, UINT dpi, const RECT& suggested) {
  m_dpi = dpi;
  // Placed where suggested first, so that the frame takes its size at the
  // new DPI; then sized around the client area wanted.
  SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT window = {};
  GetWindowRect(dialog, &window);
  const SIZE client = ClientSize(dialog);
  SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left - client.cx + Scale(m_client.cx),
               window.bottom - window.top - client.cy + Scale(m_client.cy),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetFont(dialog);
  for (const CControl& control : m_controls) {
    // Edges scaled, not sizes: edges aligned at creation stay aligned.
    const RECT& r = control.rect;
    SetWindowPos(control.window, nullptr, Scale(r.left), Scale(r.top),
                 Scale(r.right) - Scale(r.left), Scale(r.bottom) - Scale(r.top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(dialog, nullptr, TRUE);
}

int CDialogDpiLayout::Scale(LONG length) const { return MulDiv(length, m_dpi, m_capturedDpi); }

void CDialogDpiLayout::SetFont(HWND dialog) {
  if (!m_hasFont) return;
  LOGFONTW font = m_font;
  font.lfHeight = Scale(m_font.lfHeight);
  font.lfWidth = Scale(m_font.lfWidth);
  const HFONT scaled = CreateFontIndirectW(&font);
  if (!scaled) return;
  SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), FALSE);
  for (const CControl& control : m_controls)
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), TRUE);
  // Every window has the new font: the previous DPI's can go.
  if (m_scaledFont) DeleteObject(m_scaledFont);
  m_scaledFont = scaled;
}
