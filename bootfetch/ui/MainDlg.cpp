#include "ui/MainDlg.h"

#include <shellapi.h>

#include "ProductEdition.h"
#include "ShellOpenFile.h"
#include "StringUtils.h"
#include "download/MessageTexts.h"
#include "ui/LanguageBootstrap.h"
#include "ui/ProgressPosition.h"

namespace {

const UINT_PTR kTimerId = 1;
const UINT kTimerPeriodMs = 500;
// One shot: the end of a pause before an automatic try.
const UINT_PTR kResumeTimerId = 2;

}  // namespace

LRESULT CMainDlg::OnInitDialogWaitForLanguage(UINT, WPARAM, LPARAM, BOOL& handled) {
  WaitForBuiltInLanguage();
  handled = FALSE;
  return 0;
}

LRESULT CMainDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  CenterWindow();
  m_layout.Capture(m_hWnd);
  m_icons.Set(m_hWnd, m_layout.Dpi());
  m_progress = GetDlgItem(IDC_PROGRESS);
  ReadUrlFromCommandLine();
  m_statusLine.Attach(GetDlgItem(IDC_STATUS), m_progress, m_url, m_com);
  UpdateCaption();
  // Without it the dialog would wait for ever, like one without its timer.
  if (!PostMessage(kStartDownloadMessage)) EndDialog(kNoDialog);
  return TRUE;
}

// The dialog manager shows a modal dialog only once its queue first runs
// empty, so the message posted at the end of the initialisation comes while
// the dialog is still hidden. The dialog is shown and painted here, and only
// then does the worker start: WinInet's load and the connection would
// otherwise compete with the first frame for the processor. The silence
// clock starts with the attempt, here, not with the dialog.
LRESULT CMainDlg::OnStartDownload(UINT, WPARAM, LPARAM, BOOL&) {
  ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
  ::UpdateWindow(m_hWnd);
  m_downloader.Start(m_url);
  if (!StartTimer()) EndDialog(kNoDialog);
  return 0;
}

LRESULT CMainDlg::OnTimer(UINT, WPARAM timer, LPARAM, BOOL&) {
  if (timer == kResumeTimerId) {
    KillTimer(kResumeTimerId);
    m_paused = false;
    m_downloader.Start(m_url);
  } else if (!m_paused && !m_downloader.IsDownloading()) {
    Follow(m_downloader.GetOutcome());
    return 0;
  }
  Draw();
  return 0;
}

void CMainDlg::Follow(const CDownloadOutcome& outcome) {
  if (outcome.kind == OutcomeKind::kComplete) {
    StopTimer();
    Launch();
    return;
  }
  const CRetryDecision next = m_retries.After(outcome, NextRandom());
  if (next.action == RetryAction::kResume) {
    Pause(next.pauseMs);
    return;
  }
  StopTimer();
  Ask(outcome);
}

// The kept part stays in the bar; Cancel ends the pause like any other
// moment.
void CMainDlg::Pause(DWORD milliseconds) {
  m_paused = true;
  m_pauseEnds = GetTickCount() + milliseconds;
  if (!SetTimer(kResumeTimerId, milliseconds, nullptr)) {
    m_paused = false;
    m_downloader.Start(m_url);
  }
  Draw();
}

void CMainDlg::Ask(const CDownloadOutcome& outcome) {
  const std::wstring text = DownloadErrorText(outcome);
  // The box says what happened; a line of what was going on would mislead.
  m_statusLine.Clear();
  m_taskbar.ShowError();
  if (MessageBox(text.c_str(), nullptr, MB_RETRYCANCEL | MB_ICONERROR) == IDRETRY) {
    m_taskbar.ShowProgress(0);
    m_downloader.Start(m_url);
    if (!StartTimer()) EndDialog(kNoDialog);
  } else {
    m_taskbar.Clear();
    EndDialog(kFailed);
  }
}

void CMainDlg::Draw() {
  const int position = ProgressPosition(m_downloader.GetProgress());
  m_progress.SetPos(position);
  if (m_paused)
    m_taskbar.ShowPaused(position);
  else
    m_taskbar.ShowProgress(position);
  DrawStatus();
}

void CMainDlg::DrawStatus() {
  const DWORD now = GetTickCount();
  CDownloadStatus status;
  if (m_paused) {
    status.phase = CDownloadStatus::kPaused;
    const DWORD left = m_pauseEnds - now;
    status.pauseLeftMs = static_cast<LONG>(left) > 0 ? left : 0;
  } else if (m_downloader.IsAnswered()) {
    status.phase = CDownloadStatus::kDownloading;
    status.done = m_downloader.GetReceived();
    status.total = m_downloader.GetContentLength();
  }
  m_statusLine.Show(status, now);
}

// Jitter only needs to differ between clients, not to be unpredictable.
unsigned CMainDlg::NextRandom() {
  if (m_random == 0) m_random = GetTickCount() ^ (GetCurrentProcessId() << 16) ^ 1u;
  m_random = m_random * 1664525u + 1013904223u;
  return m_random >> 8;
}

LRESULT CMainDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
  if (m_launched) return 0;  // the package belongs to the installer now
  m_downloader.Cancel();
  m_taskbar.Clear();
  EndDialog(kCancelled);
  return 0;
}

void CMainDlg::Launch() {
  // The shell may pump messages while it starts the installer: no Cancel may
  // delete the package meanwhile.
  m_launched = true;
  m_taskbar.Clear();
  m_com.Enter();
  const std::wstring package = m_downloader.GetFilePath();
  const bool opened = ShellOpenFile(package, nullptr);
  // Held until the shell had it, so that nobody could swap it; the installer
  // and the user may open it from now on.
  m_downloader.ReleasePackage();
  if (opened) {
    EndDialog(kLaunched);
    return;
  }
  // The package stays where it is, and the user learns where.
  MessageBox(LaunchErrorText(package).c_str(), nullptr, MB_OK | MB_ICONERROR);
  EndDialog(kNotOpened);
}

LRESULT CMainDlg::OnDpiChanged(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  const UINT dpi = HIWORD(wParam);
  m_layout.Apply(m_hWnd, dpi, *reinterpret_cast<const RECT*>(lParam));
  m_icons.Set(m_hWnd, dpi);
  return 0;
}

LRESULT CMainDlg::OnTaskbarButtonCreated(UINT, WPARAM, LPARAM, BOOL&) {
  m_com.Enter();
  m_taskbar.OnButtonCreated(m_hWnd);
  return 0;
}

void CMainDlg::ReadUrlFromCommandLine() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return;
  if (count > 1) m_url = arguments[1];
  LocalFree(arguments);
}

void CMainDlg::UpdateCaption() {
  std::wstring caption;
  GetWindowText(caption);
  SetWindowText(ReplaceAll(caption, L"{PRODUCT}", EditionDisplayName(Dulon)).c_str());
}

// Without its timer the dialog would wait for ever: it ends as one that could
// not be created.
bool CMainDlg::StartTimer() { return SetTimer(kTimerId, kTimerPeriodMs, nullptr) != 0; }

void CMainDlg::StopTimer() { KillTimer(kTimerId); }
