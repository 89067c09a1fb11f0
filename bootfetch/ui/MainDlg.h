#pragma once

#include <string>

#include "ui/CAutoTranslateDlg.h"
#include "ui/CaptionIcons.h"
#include "ComApartment.h"
#include "ui/DialogDpiLayout.h"
#include "download/Downloader.h"
#include "CProgressBarCtrl.h"
#include "ui/TaskbarProgress.h"
#include "ui/StatusLineView.h"
#include "download/RetrySchedule.h"
#include "resources/resource.h"

// The one window of the program: downloads the package named on the command
// line, shows the progress and what the download is doing, goes on by itself
// after a lost connection where the schedule says so, offers a retry after
// any other failure and opens the finished package with the shell. The
// dialog result is the exit code.
class CMainDlg : public CAutoTranslateDlg<CMainDlg, ATL::CWindow> {
 public:
  enum { IDD = IDD_MAIN };

  // Dialog results, which become the exit code of the process.
  enum Result { kLaunched = 1, kCancelled = 2, kFailed = 3, kNotOpened = 4, kNoDialog = -1 };

  BEGIN_MSG_MAP(CMainDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialogWaitForLanguage)
    CHAIN_MSG_MAP(BaseDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(kStartDownloadMessage, OnStartDownload)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_DPICHANGED, OnDpiChanged)
    MESSAGE_HANDLER(CTaskbarProgress::ButtonCreatedMessage(), OnTaskbarButtonCreated)
  END_MSG_MAP()

 private:
  typedef CAutoTranslateDlg<CMainDlg, ATL::CWindow> BaseDialog;

  // Posted to itself at the end of its initialisation.
  static const UINT kStartDownloadMessage = WM_APP + 1;

  // Leaves the message unhandled: the base translates the dialog next.
  LRESULT OnInitDialogWaitForLanguage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
  LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
  LRESULT OnStartDownload(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
  LRESULT OnTimer(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
  LRESULT OnCancel(WORD notifyCode, WORD id, HWND control, BOOL& handled);
  LRESULT OnDpiChanged(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
  LRESULT OnTaskbarButtonCreated(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

  void Launch();
  void Draw();
  void DrawStatus();
  // After an attempt has ended: launches, goes on by itself or asks the user.
  void Follow(const CDownloadOutcome& outcome);
  void Pause(DWORD milliseconds);
  void Ask(const CDownloadOutcome& outcome);
  unsigned NextRandom();
  void ReadUrlFromCommandLine();
  void UpdateCaption();
  bool StartTimer();
  void StopTimer();

  WTL::CProgressBarCtrl m_progress;
  CCaptionIcons m_icons{IDI_APPLICATION_ICON};
  CDialogDpiLayout m_layout;
  CComApartment m_com;  // outlives the taskbar's and the status line's COM objects
  CTaskbarProgress m_taskbar;
  CStatusLineView m_statusLine;
  CDownloader m_downloader;
  CRetrySchedule m_retries;
  std::wstring m_url;
  bool m_launched = false;
  bool m_paused = false;
  DWORD m_pauseEnds = 0;  // tick count
  unsigned m_random = 0;
};
