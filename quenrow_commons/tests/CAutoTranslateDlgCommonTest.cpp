#include "CAutoTranslateDlgCommon.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>

#include "CDialogImpl.h"
#include "TranslateTestResources.h"

namespace {

using quenrow_commons::CAutoTranslateDlgCommon;

// The catalogue of the test translator; empty stands for "no translator".
std::map<std::wstring, std::wstring> g_catalogue;

class CMapTranslator : public quenrow_commons::IDlgTranslator {
 public:
  bool CanTranslate(std::wstring text) const override { return g_catalogue.count(text) != 0; }
  std::wstring Translate(std::wstring text) const override {
    auto it = g_catalogue.find(text);
    return it == g_catalogue.end() ? std::wstring() : it->second;
  }
};

LRESULT CALLBACK NestedHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    HWND child = CreateWindowExW(0, L"Static", L"A", WS_CHILD | WS_VISIBLE, 0, 0, 100, 30, window,
                                 reinterpret_cast<HMENU>(IDC_NESTED_CHILD), nullptr, nullptr);
    CreateWindowExW(0, L"Static", L"A", WS_CHILD | WS_VISIBLE, 0, 0, 50, 15, child,
                    reinterpret_cast<HMENU>(IDC_NESTED_GRANDCHILD), nullptr, nullptr);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

const bool kClassesRegistered = [] {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  WNDCLASSW host = {};
  host.lpfnWndProc = NestedHostProc;
  host.hInstance = GetModuleHandleW(nullptr);
  host.lpszClassName = L"QrNestedHost";
  return InitCommonControlsEx(&controls) && RegisterClassW(&host);
}();

std::wstring TextOf(HWND window) {
  std::wstring text;
  ATL::CWindow(window).GetWindowText(text);
  return text;
}

// A translating dialog with its own WM_INITDIALOG handler and a posted
// message that runs once the dialog is on screen.
template <int Id>
class CProbeDlg : public CAutoTranslateDlgCommon<CProbeDlg<Id>, ATL::CDialogImpl<CProbeDlg<Id>>,
                                                 CMapTranslator> {
  typedef CAutoTranslateDlgCommon<CProbeDlg<Id>, ATL::CDialogImpl<CProbeDlg<Id>>, CMapTranslator>
      CBase;

 public:
  enum { IDD = Id };
  std::function<void(CProbeDlg&)> onInit;
  std::function<void(CProbeDlg&)> onShown;
  int focusMessages = 0;

  BEGIN_MSG_MAP(CProbeDlg)
  CHAIN_MSG_MAP(CBase)
  MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
  MESSAGE_HANDLER(WM_APP, OnShown)
  MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
  END_MSG_MAP()

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    if (onInit) onInit(*this);
    if (onShown) this->PostMessage(WM_APP);
    return TRUE;
  }
  LRESULT OnShown(UINT, WPARAM, LPARAM, BOOL&) {
    onShown(*this);
    return 0;
  }
  // Counts only: the dialog manager passes the focus on to its saved control.
  LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    ++focusMessages;
    bHandled = FALSE;
    return 0;
  }
};

class AutoTranslate : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kClassesRegistered);
    g_catalogue.clear();
  }
  void TearDown() override { g_catalogue.clear(); }
};

TEST_F(AutoTranslate, DownloadDialogCaptionAndButton) {
  g_catalogue = {{L"Download {PRODUCT}", L"Herunterladen {PRODUCT}"}, {L"Cancel", L"Abbrechen"}};
  CProbeDlg<IDD_DOWNLOAD> dlg;
  std::wstring caption, button, progress = L"unread";
  dlg.onInit = [&](CProbeDlg<IDD_DOWNLOAD>& d) {
    caption = TextOf(d);
    button = TextOf(d.GetDlgItem(IDCANCEL));
    progress = TextOf(d.GetDlgItem(IDC_PROGRESS));
    d.EndDialog(1);
  };
  ASSERT_EQ(1, dlg.DoModal(nullptr));
  EXPECT_EQ(L"Herunterladen {PRODUCT}", caption);
  EXPECT_EQ(L"Abbrechen", button);
  EXPECT_EQ(L"", progress);
}

TEST_F(AutoTranslate, EachWindowIsTranslatedOnce) {
  g_catalogue = {{L"Emptied", L""},
                 {L"&New\tCtrl+N", L"&Neu\tStrg+N"},
                 {L"A", L"B"},
                 {L"B", L"C"},
                 {L"Texts", L"Texte"}};
  struct Row {
    const char* name;
    std::wstring expected;
    std::wstring actual;
  };
  Row rows[] = {
      {"caption", L"Texte", {}},
      {"missing entry keeps the resource text", L"Missing", {}},
      {"empty message empties the control", L"", {}},
      {"text with a tab", L"&Neu\tStrg+N", {}},
      {"direct control", L"B", {}},
      {"nested host", L"B", {}},
      {"child of the host", L"B", {}},
      {"grandchild of the host", L"B", {}},
  };
  CProbeDlg<IDD_TEXTS> dlg;
  dlg.onInit = [&](CProbeDlg<IDD_TEXTS>& d) {
    HWND host = d.GetDlgItem(IDC_NESTED);
    HWND child = GetDlgItem(host, IDC_NESTED_CHILD);
    const HWND windows[] = {d,
                            d.GetDlgItem(IDC_MISSING),
                            d.GetDlgItem(IDC_EMPTIED),
                            d.GetDlgItem(IDC_TABBED),
                            d.GetDlgItem(IDC_DIRECT),
                            host,
                            child,
                            GetDlgItem(child, IDC_NESTED_GRANDCHILD)};
    for (size_t i = 0; i < std::size(rows); ++i) rows[i].actual = TextOf(windows[i]);
    d.EndDialog(1);
  };
  ASSERT_EQ(1, dlg.DoModal(nullptr));
  for (const Row& row : rows) EXPECT_EQ(row.expected, row.actual) << row.name;
}

TEST_F(AutoTranslate, EmptyCatalogueKeepsResourceTexts) {
  CProbeDlg<IDD_DOWNLOAD> dlg;
  std::wstring caption, button;
  dlg.onInit = [&](CProbeDlg<IDD_DOWNLOAD>& d) {
    caption = TextOf(d);
    button = TextOf(d.GetDlgItem(IDCANCEL));
    d.EndDialog(1);
  };
  ASSERT_EQ(1, dlg.DoModal(nullptr));
  EXPECT_EQ(L"Download {PRODUCT}", caption);
  EXPECT_EQ(L"Cancel", button);
}

// The dialog manager forwards the dialog's focus to its saved control, so
// the focus ends inside the dialog after the dialog itself received it.
TEST_F(AutoTranslate, ActivateAppFocusesTheDialog) {
  struct Row {
    const char* name;
    WPARAM active;
    HWND focusBefore;
    bool focusInDialog;
    int focusMessages;
    BOOL handled;
    LRESULT result;
  };
  Row rows[] = {{"activation", TRUE, nullptr, false, 0, FALSE, -1},
                {"deactivation", FALSE, nullptr, false, 0, FALSE, -1}};
  HWND elsewhere = nullptr;
  CProbeDlg<IDD_DOWNLOAD> dlg;
  dlg.onShown = [&](CProbeDlg<IDD_DOWNLOAD>& d) {
    elsewhere = CreateWindowExW(0, L"Edit", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr,
                                nullptr, nullptr, nullptr);
    for (Row& row : rows) {
      ::SetFocus(elsewhere);
      row.focusBefore = ::GetFocus();
      const int before = d.focusMessages;
      row.handled = d.ProcessWindowMessage(d, WM_ACTIVATEAPP, row.active, 0, row.result, 0);
      row.focusMessages = d.focusMessages - before;
      HWND focus = ::GetFocus();
      row.focusInDialog = focus == d || IsChild(d, focus);
    }
    DestroyWindow(elsewhere);
    d.EndDialog(1);
  };
  ASSERT_EQ(1, dlg.DoModal(nullptr));
  for (const Row& row : rows) {
    EXPECT_EQ(elsewhere, row.focusBefore) << row.name;
    EXPECT_EQ(1, row.focusMessages) << row.name;
    EXPECT_TRUE(row.focusInDialog) << row.name;
    EXPECT_TRUE(row.handled) << row.name;
    EXPECT_EQ(0, row.result) << row.name;
  }
}

class CThrowingTranslator : public CMapTranslator {
 public:
  bool CanTranslate(std::wstring text) const override {
    if (text == L"boom") throw std::runtime_error("lookup failed");
    return CMapTranslator::CanTranslate(text);
  }
};

// A failing lookup must reach the caller instead of unwinding through the
// system's enumeration.
TEST_F(AutoTranslate, LookupFailureReachesTheCaller) {
  g_catalogue = {{L"A", L"B"}};
  HWND parent = CreateWindowExW(0, L"Static", L"A", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(nullptr, parent);
  CreateWindowExW(0, L"Static", L"boom", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
  EXPECT_THROW(quenrow_commons::TranslateWindowTree(parent, CThrowingTranslator()),
               std::runtime_error);
  EXPECT_EQ(L"B", TextOf(parent));
  DestroyWindow(parent);
}

}  // namespace
