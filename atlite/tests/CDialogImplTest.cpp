#include "CDialogImpl.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "AtliteTestResources.h"

namespace {

const UINT kPassOn = WM_APP;  // the base handler clears bHandled
const UINT kTakenByBase = WM_APP + 1;

class CProbeBase {
 public:
  std::string calls;

  BEGIN_MSG_MAP(CProbeBase)
    MESSAGE_HANDLER(kPassOn, OnPassOn)
    MESSAGE_HANDLER(kTakenByBase, OnTakenByBase)
  END_MSG_MAP()

  LRESULT OnPassOn(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    calls += "base pass-on;";
    bHandled = FALSE;
    return 5;
  }
  LRESULT OnTakenByBase(UINT, WPARAM, LPARAM, BOOL&) {
    calls += "base taken;";
    return 42;
  }
};

// Runs a test's checks from inside WM_INITDIALOG.
class CProbeDlg : public ATL::CDialogImpl<CProbeDlg>, public CProbeBase {
 public:
  enum { IDD = IDD_PROBE };
  std::function<void(CProbeDlg&)> onInit;
  WORD cancelNotifyCode = 0;
  HWND finalWindow = nullptr;

  BEGIN_MSG_MAP(CProbeDlg)
    CHAIN_MSG_MAP(CProbeBase)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(kPassOn, OnPassOn)
    MESSAGE_HANDLER(kTakenByBase, OnTakenByBase)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
  END_MSG_MAP()

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    onInit(*this);
    return TRUE;
  }
  LRESULT OnPassOn(UINT, WPARAM, LPARAM, BOOL&) {
    calls += "derived pass-on;";
    return 7;
  }
  LRESULT OnTakenByBase(UINT, WPARAM, LPARAM, BOOL&) {
    calls += "derived taken;";
    return 0;
  }
  LRESULT OnCancel(WORD notifyCode, WORD id, HWND, BOOL&) {
    cancelNotifyCode = notifyCode;
    EndDialog(id);
    return 0;
  }
  void OnFinalMessage(HWND window) override { finalWindow = window; }
};

TEST(CDialogImpl, MessageMapAndModalRun) {
  CProbeDlg dlg;
  HWND window = nullptr;
  LRESULT passOn = 0, taken = 0, unmappedResult = 0;
  BOOL unmapped = TRUE;
  dlg.onInit = [&](CProbeDlg& d) {
    window = d;
    passOn = d.SendMessage(kPassOn);
    taken = d.SendMessage(kTakenByBase);
    unmapped = d.ProcessWindowMessage(d, WM_APP + 2, 0, 0, unmappedResult, 0);
    // Posted, so it arrives once the dialog runs its own loop.
    d.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0x1234), 0);
  };
  EXPECT_EQ(IDCANCEL, dlg.DoModal(nullptr));
  EXPECT_EQ(7, passOn);
  EXPECT_EQ(42, taken);
  EXPECT_FALSE(unmapped);
  EXPECT_EQ("base pass-on;derived pass-on;base taken;", dlg.calls);
  EXPECT_EQ(0x1234, dlg.cancelNotifyCode);
  EXPECT_EQ(nullptr, dlg.m_hWnd);
  EXPECT_NE(nullptr, window);
  EXPECT_EQ(window, dlg.finalWindow);
}

TEST(CDialogImpl, MissingTemplateGivesMinusOneAndLaterDialogsStillBind) {
  struct CMissingDlg : ATL::CDialogImpl<CMissingDlg> {
    enum { IDD = IDD_MISSING };
    BEGIN_MSG_MAP(CMissingDlg)
    END_MSG_MAP()
  } missing;
  EXPECT_EQ(-1, missing.DoModal(nullptr));
  CProbeDlg probe;
  probe.onInit = [](CProbeDlg& d) { d.EndDialog(3); };
  EXPECT_EQ(3, probe.DoModal(nullptr));
}

TEST(CWindow, CenterWindowUsesOnlyAVisibleRestoredOwner) {
  struct Case {
    const char* name;
    int show;  // -1: no owner
    bool onOwner;
  };
  const Case cases[] = {{"no owner", -1, false},
                        {"visible owner", SW_SHOWNOACTIVATE, true},
                        {"hidden owner", SW_HIDE, false},
                        {"minimised owner", SW_SHOWMINNOACTIVE, false}};
  for (const Case& c : cases) {
    HWND owner = nullptr;
    if (c.show >= 0) {
      owner = CreateWindowExW(0, L"Static", L"owner", WS_POPUP | WS_CAPTION, 130, 90, 300, 200,
                              nullptr, nullptr, nullptr, nullptr);
      ShowWindow(owner, c.show);
    }
    CProbeDlg dlg;
    BOOL centred = FALSE;
    RECT window = {}, reference = {};
    dlg.onInit = [&](CProbeDlg& d) {
      centred = d.CenterWindow();
      d.GetWindowRect(&window);
      MONITORINFO monitor = {};
      monitor.cbSize = sizeof(monitor);
      GetMonitorInfoW(MonitorFromWindow(d, MONITOR_DEFAULTTONEAREST), &monitor);
      reference = monitor.rcWork;
      if (c.onOwner) GetWindowRect(owner, &reference);
      d.EndDialog(1);
    };
    dlg.DoModal(owner);
    if (owner) DestroyWindow(owner);

    EXPECT_TRUE(centred) << c.name;
    const LONG width = window.right - window.left, height = window.bottom - window.top;
    EXPECT_EQ((reference.left + reference.right) / 2 - width / 2, window.left) << c.name;
    EXPECT_EQ((reference.top + reference.bottom) / 2 - height / 2, window.top) << c.name;
  }
}

}  // namespace
