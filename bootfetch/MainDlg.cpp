#include "MainDlg.h"

#include <shellapi.h>

#include "LanguageBootstrap.h"
#include "MessageTexts.h"
#include "ProductEdition.h"
#include "ProgressPosition.h"
#include "ShellOpenFile.h"
#include "StringUtils.h"

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
  SetIcons();
  m_progress = GetDlgItem(IDC_PROGRESS);
  ReadUrlFromCommandLine();
  UpdateCaption();
  m_downloader.Start(m_url);
  StartTimer();
  return TRUE;
}

LRESULT CMainDlg::OnTimer(UINT, WPARAM, LPARAM, BOOL&) {
  if (m_downloader.IsDownloading()) {
    m_progress.SetPos(ProgressPosition(m_downloader.GetProgress()));
    return 0;
  }
  StopTimer();
  const std::wstring errorText = m_downloader.GetErrorText();
  if (errorText.empty()) {
    Launch();
    return 0;
  }
  if (MessageBox(errorText.c_str(), nullptr, MB_RETRYCANCEL | MB_ICONERROR) == IDRETRY) {
    m_downloader.Start(m_url);
    StartTimer();
  } else {
    EndDialog(kFailed);
  }
  return 0;
}

LRESULT CMainDlg::OnCancel(WORD, WORD id, HWND, BOOL&) {
  if (m_launched) return 0;  // the package belongs to the installer now
  m_downloader.Cancel();
  EndDialog(id);
  return 0;
}

void CMainDlg::Launch() {
  // The shell may pump messages while it starts the installer: no Cancel may
  // delete the package meanwhile.
  m_launched = true;
  const std::wstring package = m_downloader.GetFilePath();
  if (ShellOpenFile(package, nullptr)) {
    EndDialog(kLaunched);
    return;
  }
  // The package stays where it is, and the user learns where.
  MessageBox(LaunchErrorText(package).c_str(), nullptr, MB_OK | MB_ICONERROR);
  EndDialog(kNotOpened);
}

void CMainDlg::SetIcons() {
  const HINSTANCE instance = ATL::GetResourceInstance();
  const HICON big = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON),
                                                  IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                  GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
  SetIcon(big, TRUE);
  const HICON small = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  SetIcon(small, FALSE);
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

void CMainDlg::StartTimer() { SetTimer(kTimerId, kTimerPeriodMs, nullptr); }

void CMainDlg::StopTimer() { KillTimer(kTimerId); }
