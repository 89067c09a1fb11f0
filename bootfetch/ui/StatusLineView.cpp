#include "ui/StatusLineView.h"

#include "download/MessageTexts.h"

namespace {

const wchar_t kProgressName[] = L"Download progress";
// Longer than any line the catalogue's texts make.
const int kLongestText = 256;

}  // namespace

void CStatusLineView::Attach(HWND line, HWND bar, const std::wstring& url, CComApartment& com) {
  m_line = line;
  m_bar = bar;
  m_host = HostOfUrl(url);
  m_com = &com;
}

void CStatusLineView::Show(CDownloadStatus status, DWORD now) {
  Open();
  status.host = m_host;
  if (status.phase == CDownloadStatus::kDownloading) {
    m_rate.Add(now, status.done);
    status.bytesPerSecond = m_rate.BytesPerSecond();
    status.steady = m_rate.IsSteady();
  } else {
    m_rate.Reset();
  }
  SetText(StatusLineText(status, m_texts, FormatByteSize));
  if (status.phase == m_phase) return;
  m_phase = status.phase;
  CAccessibilityAnnotations::Announce(m_line);
}

void CStatusLineView::Clear() {
  SetText(std::wstring());
  m_rate.Reset();
  m_phase = -1;
}

void CStatusLineView::Open() {
  if (m_opened) return;
  m_opened = true;
  m_texts = LoadStatusTexts();
  m_com->Enter();
  if (!m_accessibility.Open()) return;
  m_accessibility.SetName(m_bar, TranslationOr(L"IDS_PROGRESS_NAME", kProgressName));
  m_accessibility.MakeLiveRegion(m_line);
}

// Setting the same text again would repaint the line for nothing.
void CStatusLineView::SetText(const std::wstring& text) {
  wchar_t shown[kLongestText] = L"";
  GetWindowTextW(m_line, shown, kLongestText);
  if (text != shown) SetWindowTextW(m_line, text.c_str());
}
