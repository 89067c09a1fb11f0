#pragma once

#include <windows.h>

#include <string>

#include "ui/AccessibilityAnnotations.h"
#include "ComApartment.h"
#include "ui/StatusLine.h"
#include "ui/TransferRate.h"

// The status line under the bar: words the download's status, measures the
// speed from the byte counts it is shown, sets the text only when it
// changes, and has screen readers announce a change of phase, never the
// numbers of a tick. The catalogue's texts and the annotations are taken at
// the first Show, once the dialog is visible: COM would only hold it back.
class CStatusLineView {
 public:
  CStatusLineView() = default;
  CStatusLineView(const CStatusLineView&) = delete;
  CStatusLineView& operator=(const CStatusLineView&) = delete;

  // The line and the bar it tells of, the URL whose host it names, and the
  // thread's apartment, which outlives the view.
  void Attach(HWND line, HWND bar, const std::wstring& url, CComApartment& com);
  // The status's phase and counts; the host and the speed are the view's.
  void Show(CDownloadStatus status, DWORD now);
  void Clear();

 private:
  void Open();
  void SetText(const std::wstring& text);

  HWND m_line = nullptr;
  HWND m_bar = nullptr;
  std::wstring m_host;
  CStatusTexts m_texts;
  CTransferRate m_rate;
  int m_phase = -1;  // CDownloadStatus::Phase last shown, none after Clear
  bool m_opened = false;
  CComApartment* m_com = nullptr;
  CAccessibilityAnnotations m_accessibility;
};
