#include "ui/CAutoTranslateDlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "BootfetchUiTestResources.h"
#include "Translator.h"
#include "WindowText.h"

namespace {

const bool kControlsRegistered = [] {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  return InitCommonControlsEx(&controls) != FALSE;
}();

// No message map of its own: the base's dispatch is the whole dialog.
template <int Id>
class CBareDlg : public CAutoTranslateDlg<CBareDlg<Id>> {
 public:
  enum { IDD = Id };
};

std::function<void(HWND)> g_inspect;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (std::wstring(cls) != L"#32770") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Nothing inside a bare dialog can end it, so a thread timer inspects and
// ends the open dialog.
void CALLBACK InspectDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr) return;
  KillTimer(nullptr, timer);
  g_inspect(dialog);
  EndDialog(dialog, 1);
}

template <int Id>
void RunInspected(const std::function<void(CBareDlg<Id>&)>& inspect) {
  CBareDlg<Id> dlg;
  g_inspect = [&](HWND) { inspect(dlg); };
  ASSERT_NE(0u, SetTimer(nullptr, 0, 20, InspectDialog));
  ASSERT_EQ(1, dlg.DoModal(nullptr));
}

class CatalogueDialogs : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(kControlsRegistered); }
  void TearDown() override { libi18n::SetTranslator(nullptr); }

  static void Install(const wchar_t* path) {
    libi18n::SetTranslator(nullptr);
    if (path == nullptr) return;
    auto translator = libi18n::CreateTranslator(path);
    ASSERT_TRUE(translator) << "cannot load the catalogue";
    libi18n::SetTranslator(translator);
  }
};

TEST_F(CatalogueDialogs, DownloadDialog) {
  struct Row {
    const char* name;
    const wchar_t* catalogue;
    std::wstring caption;
    std::wstring button;
  };
  const Row rows[] = {
      {"no translator", nullptr, L"Download {PRODUCT}", L"Cancel"},
      {"test catalogue", TEST_CATALOGUE, L"Herunterladen von {PRODUCT}", L"Abbrechen"},
      {"built-in catalogue", BUILT_IN_CATALOGUE, L"Download {PRODUCT}", L"Cancel"},
  };
  for (const Row& row : rows) {
    Install(row.catalogue);
    RunInspected<IDD_DOWNLOAD>([&](CBareDlg<IDD_DOWNLOAD>& d) {
      EXPECT_EQ(row.caption, WindowText(d)) << row.name;
      EXPECT_EQ(row.button, WindowText(d.GetDlgItem(IDCANCEL))) << row.name;
      EXPECT_EQ(L"", WindowText(d.GetDlgItem(IDC_PROGRESS))) << row.name;
      // A bare dialog leaves WM_INITDIALOG to the system's default.
      LRESULT result = -1;
      EXPECT_FALSE(d.ProcessWindowMessage(d, WM_INITDIALOG, 0, 0, result, 0)) << row.name;
      EXPECT_EQ(0, result) << row.name;
    });
  }
}

TEST_F(CatalogueDialogs, ControlTexts) {
  Install(TEST_CATALOGUE);
  struct Row {
    const char* name;
    int id;
    std::wstring expected;
  };
  const Row rows[] = {
      {"missing entry keeps the resource text", IDC_MISSING, L"Missing"},
      {"empty message empties the control", IDC_EMPTIED, L""},
      {"tab found through its backslash form", IDC_TABBED, L"&Neu\tStrg+N"},
      {"translated once", IDC_DIRECT, L"B"},
  };
  RunInspected<IDD_TEXTS>([&](CBareDlg<IDD_TEXTS>& d) {
    for (const Row& row : rows)
      EXPECT_EQ(row.expected, WindowText(d.GetDlgItem(row.id))) << row.name;
  });
}

}  // namespace
