#include "CAutoTranslateDlgCommon.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>

#include "CDialogImpl.h"
#include "TranslateTestResources.h"

namespace {

std::map<std::wstring, std::wstring> g_catalogue = {{L"A", L"B"}, {L"B", L"C"}};

class CMapTranslator : public quenrow_commons::IDlgTranslator {
 public:
  bool CanTranslate(std::wstring text) const override { return g_catalogue.count(text) != 0; }
  std::wstring Translate(std::wstring text) const override {
    const auto found = g_catalogue.find(text);
    return found == g_catalogue.end() ? std::wstring() : found->second;
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

const bool kHostRegistered = [] {
  WNDCLASSW host = {};
  host.lpfnWndProc = NestedHostProc;
  host.hInstance = GetModuleHandleW(nullptr);
  host.lpszClassName = L"QrNestedHost";
  return RegisterClassW(&host) != 0;
}();

std::wstring TextOf(HWND window) {
  std::wstring text;
  ATL::CWindow(window).GetWindowText(text);
  return text;
}

// Runs a test's checks in its own WM_INITDIALOG handler, after the base's.
class CProbeDlg
    : public quenrow_commons::CAutoTranslateDlgCommon<CProbeDlg, ATL::CDialogImpl<CProbeDlg>,
                                                      CMapTranslator> {
  typedef CAutoTranslateDlgCommon CBase;

 public:
  enum { IDD = IDD_NESTED };
  std::function<void(CProbeDlg&)> onInit;
  int focusMessages = 0;

  BEGIN_MSG_MAP(CProbeDlg)
    CHAIN_MSG_MAP(CBase)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
  END_MSG_MAP()

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    onInit(*this);
    EndDialog(1);
    return TRUE;
  }
  // Counts only: the dialog manager passes the focus on to a control.
  LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    ++focusMessages;
    bHandled = FALSE;
    return 0;
  }
};

TEST(AutoTranslate, EveryWindowIsTranslatedOnce) {
  ASSERT_TRUE(kHostRegistered);
  struct Row {
    const char* name;
    std::wstring text;
  };
  Row rows[] = {
      {"caption", {}}, {"control", {}}, {"nested host", {}}, {"child", {}}, {"grandchild", {}}};
  CProbeDlg dlg;
  dlg.onInit = [&](CProbeDlg& d) {
    HWND host = d.GetDlgItem(IDC_NESTED);
    HWND child = GetDlgItem(host, IDC_NESTED_CHILD);
    const HWND windows[] = {d, d.GetDlgItem(IDC_DIRECT), host, child,
                            GetDlgItem(child, IDC_NESTED_GRANDCHILD)};
    for (size_t i = 0; i < std::size(rows); ++i) rows[i].text = TextOf(windows[i]);
  };
  ASSERT_EQ(1, dlg.DoModal(nullptr));
  for (const Row& row : rows) EXPECT_EQ(L"B", row.text) << row.name;
}

// The dialog manager forwards the dialog's focus to its saved control, so the
// focus ends inside the dialog after the dialog itself received it.
TEST(AutoTranslate, ActivateAppFocusesTheDialog) {
  struct Row {
    const char* name;
    WPARAM active;
    int focusMessages;
    bool focusInDialog;
    BOOL handled;
    LRESULT result;
  };
  Row rows[] = {{"activation", TRUE, 0, false, FALSE, -1},
                {"deactivation", FALSE, 0, false, FALSE, -1}};
  CProbeDlg dlg;
  dlg.onInit = [&](CProbeDlg& d) {
    ::ShowWindow(d, SW_SHOW);
    HWND elsewhere = CreateWindowExW(0, L"Edit", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr,
                                     nullptr, nullptr, nullptr);
    for (Row& row : rows) {
      ::SetFocus(elsewhere);
      const int before = d.focusMessages;
      row.handled = d.ProcessWindowMessage(d, WM_ACTIVATEAPP, row.active, 0, row.result, 0);
      row.focusMessages = d.focusMessages - before;
      HWND focus = ::GetFocus();
      row.focusInDialog = focus == d || IsChild(d, focus);
    }
    DestroyWindow(elsewhere);
  };
  ASSERT_EQ(1, dlg.DoModal(nullptr));
  for (const Row& row : rows) {
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
TEST(AutoTranslate, LookupFailureReachesTheCaller) {
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
