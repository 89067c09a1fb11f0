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

LRESULT CMainDlg::OnTimer(UINT, WPARAM, LPARAM, BOOL&) {
  if (m_downloader.IsDownloading()) {
    const int position = ProgressPosition(m_downloader.GetProgress());
    m_progress.SetPos(position);
    m_taskbar.ShowProgress(position);
    return 0;
  }
  StopTimer();
  const std::wstring errorText = m_downloader.GetErrorText();
  if (errorText.empty()) {
    Launch();
    return 0;
  }
  m_taskbar.ShowError();
  if (MessageBox(errorText.c_str(), nullptr, MB_RETRYCANCEL | MB_ICONERROR) == IDRETRY) {
    m_taskbar.ShowProgress(0);
    m_downloader.Start(m_url);
    if (!StartTimer()) EndDialog(kNoDialog);
  } else {
    m_taskbar.Clear();
    EndDialog(kFailed);
  }
  return 0;
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
