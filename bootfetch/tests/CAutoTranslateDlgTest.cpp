#include "CAutoTranslateDlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "BootfetchUiTestResources.h"
#include "Translator.h"

namespace {

const bool kControlsRegistered = [] {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  return InitCommonControlsEx(&controls) != FALSE;
}();

std::wstring TextOf(HWND window) {
  std::wstring text;
  ATL::CWindow(window).GetWindowText(text);
  return text;
}

// Chains to its base first and reads the texts in its own WM_INITDIALOG
// handler, as the program's dialogs do.
template <int Id>
class CReadingDlg : public CAutoTranslateDlg<CReadingDlg<Id>> {
  typedef CAutoTranslateDlg<CReadingDlg<Id>> CBase;

 public:
  enum { IDD = Id };
  std::function<void(CReadingDlg&)> onInit;

  BEGIN_MSG_MAP(CReadingDlg)
  CHAIN_MSG_MAP(CBase)
  MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
  END_MSG_MAP()

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    onInit(*this);
    this->EndDialog(1);
    return TRUE;
  }
};

class CatalogueDialogs : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(kControlsRegistered); }
  void TearDown() override { libi18n::SetTranslator(nullptr); }

  static void Install(const wchar_t* path) {
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
    libi18n::SetTranslator(nullptr);
    if (row.catalogue) Install(row.catalogue);
    std::wstring caption, button, progress = L"unread";
    CReadingDlg<IDD_DOWNLOAD> dlg;
    dlg.onInit = [&](CReadingDlg<IDD_DOWNLOAD>& d) {
      caption = TextOf(d);
      button = TextOf(d.GetDlgItem(IDCANCEL));
      progress = TextOf(d.GetDlgItem(IDC_PROGRESS));
    };
    ASSERT_EQ(1, dlg.DoModal(nullptr)) << row.name;
    EXPECT_EQ(row.caption, caption) << row.name;
    EXPECT_EQ(row.button, button) << row.name;
    EXPECT_EQ(L"", progress) << row.name;
  }
}

TEST_F(CatalogueDialogs, ControlTexts) {
  Install(TEST_CATALOGUE);
  struct Row {
    const char* name;
    int id;
    std::wstring expected;
    std::wstring actual;
  };
  Row rows[] = {
      {"missing entry keeps the resource text", IDC_MISSING, L"Missing", {}},
      {"empty message empties the control", IDC_EMPTIED, L"", {}},
      {"tab found through its backslash form", IDC_TABBED, L"&Neu\tStrg+N", {}},
      {"translated once", IDC_DIRECT, L"B", {}},
  };
  CReadingDlg<IDD_TEXTS> dlg;
  dlg.onInit = [&](CReadingDlg<IDD_TEXTS>& d) {
    for (Row& row : rows) row.actual = TextOf(d.GetDlgItem(row.id));
  };
  ASSERT_EQ(1, dlg.DoModal(nullptr));
  for (const Row& row : rows) EXPECT_EQ(row.expected, row.actual) << row.name;
}

// Nothing in the dialog ends it, so a thread timer inspects and ends it.
class CBareDlg : public CAutoTranslateDlg<CBareDlg> {
 public:
  enum { IDD = IDD_DOWNLOAD };
};

struct CBareProbe {
  CBareDlg* dlg;
  std::wstring caption;
  BOOL initHandled;
  LRESULT initResult;
} g_bare;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (std::wstring(cls) != L"#32770") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK InspectBareDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr) return;
  KillTimer(nullptr, timer);
  g_bare.caption = TextOf(dialog);
  g_bare.initHandled =
      g_bare.dlg->ProcessWindowMessage(dialog, WM_INITDIALOG, 0, 0, g_bare.initResult, 0);
  EndDialog(dialog, 1);
}

TEST_F(CatalogueDialogs, DialogWithoutInitHandlerIsTranslated) {
  Install(TEST_CATALOGUE);
  CBareDlg dlg;
  g_bare = {&dlg, L"", TRUE, -1};
  ASSERT_NE(0u, SetTimer(nullptr, 0, 20, InspectBareDialog));
  ASSERT_EQ(1, dlg.DoModal(nullptr));
  EXPECT_EQ(L"Herunterladen von {PRODUCT}", g_bare.caption);
  EXPECT_FALSE(g_bare.initHandled);
  EXPECT_EQ(0, g_bare.initResult);
}

}  // namespace
