// Entry point of bootfetch.exe: the dialog result is the exit code
// (1 package opened, 2 cancelled, 3 failed, 4 downloaded but not opened,
// -1 no dialog).
#include <windows.h>
#include <commctrl.h>

#include "CAppModule.h"
#include "system/DllSearchPath.h"
#include "ui/LanguageBootstrap.h"
#include "ui/MainDlg.h"

WTL::CAppModule _Module;

#ifdef BOOTFETCH_TEST_SEAMS
#include <cwchar>

#include "system/TestSeams.h"

// The hardening tests' build reads its switches from the command line, after
// the URL.
static void ReadTestSeams() {
  const wchar_t* const commandLine = GetCommandLineW();
  CTestSeams& seams = TestSeams();
  seams.noDllRestriction = std::wcsstr(commandLine, L" --no-dll-restriction") != nullptr;
  seams.noDefaultDllDirectories =
      std::wcsstr(commandLine, L" --no-default-dll-directories") != nullptr;
  seams.winInetByName = std::wcsstr(commandLine, L" --wininet-by-name") != nullptr;
}
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
#ifdef BOOTFETCH_TEST_SEAMS
  ReadTestSeams();
#endif
  RestrictDllSearchToSystemFolder();
  // The catalogue loads while the controls and the dialog's windows are set
  // up; the dialog waits for it before translating itself. COM waits for its
  // first use, after the dialog shows (CMainDlg).
  StartLoadingBuiltInLanguage();
  // Makes sure user32 is initialised before the first window exists.
  DefWindowProcW(nullptr, 0, 0, 0);
  // The progress bar's class is named: only version 6 of the controls
  // registers a class on demand.
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  _Module.Init(nullptr, instance);

  INT_PTR result = -1;
  {
    CMainDlg dialog;
    result = dialog.DoModal(GetActiveWindow(), 0);
  }  // the downloader stops and waits for its worker here
  // Also when the dialog could not be created.
  WaitForBuiltInLanguage();

  _Module.Term();
  return static_cast<int>(result);
}
