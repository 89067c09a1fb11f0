// Entry point of bootfetch.exe: the dialog result is the exit code
// (1 package opened, 2 cancelled, 3 failed, -1 no dialog).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "CAppModule.h"
#include "DllSearchPath.h"
#include "LanguageBootstrap.h"
#include "MainDlg.h"

WTL::CAppModule _Module;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  RestrictDllSearchToSystemFolder();
  CoInitialize(nullptr);
  // Makes sure user32 is initialised before the first window exists.
  DefWindowProcW(nullptr, 0, 0, 0);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  _Module.Init(nullptr, instance);

  LoadBuiltInLanguage();

  INT_PTR result = -1;
  {
    CMainDlg dialog;
    result = dialog.DoModal(GetActiveWindow(), 0);
  }  // the downloader stops and waits for its worker here

  _Module.Term();
  CoUninitialize();
  return static_cast<int>(result);
}
