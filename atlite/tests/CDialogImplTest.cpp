#include "CDialogImpl.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "CAppModule.h"
#include "CProgressBarCtrl.h"
#include "CenteredPosition.h"
#include "AtliteTestResources.h"

namespace {

const UINT kPassOn = WM_APP;  // base handler clears bHandled
const UINT kTakenByBase = WM_APP + 1;
const UINT kUnmapped = WM_APP + 2;

const bool kControlsRegistered = [] {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  return InitCommonControlsEx(&controls) != FALSE;
}();

class CProbeBase {
 public:
  std::vector<const char*> calls;

  BEGIN_MSG_MAP(CProbeBase)
  MESSAGE_HANDLER(kPassOn, OnPassOn)
  MESSAGE_HANDLER(kTakenByBase, OnTakenByBase)
  END_MSG_MAP()

  LRESULT OnPassOn(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    calls.push_back("base pass-on");
    bHandled = FALSE;
    return 5;
  }
  LRESULT OnTakenByBase(UINT, WPARAM, LPARAM, BOOL&) {
    calls.push_back("base taken");
    return 42;
  }
};

// Runs a test's checks from inside WM_INITDIALOG.
class CProbeDlg : public ATL::CDialogImpl<CProbeDlg>, public CProbeBase {
 public:
  enum { IDD = IDD_PROBE };

  std::function<void(CProbeDlg&)> onInit;
  WORD cancelNotifyCode = 0;
  int finalMessages = 0;
  HWND finalWindow = nullptr;

  BEGIN_MSG_MAP(CProbeDlg)
  CHAIN_MSG_MAP(CProbeBase)
  MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
  MESSAGE_HANDLER(kPassOn, OnPassOn)
  MESSAGE_HANDLER(kTakenByBase, OnTakenByBase)
  COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
  END_MSG_MAP()

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    if (onInit) onInit(*this);
    return TRUE;
  }
  LRESULT OnPassOn(UINT, WPARAM, LPARAM, BOOL&) {
    calls.push_back("derived pass-on");
    return 7;
  }
  LRESULT OnTakenByBase(UINT, WPARAM, LPARAM, BOOL&) {
    calls.push_back("derived taken");
    return 0;
  }
  LRESULT OnCancel(WORD notifyCode, WORD id, HWND, BOOL&) {
    cancelNotifyCode = notifyCode;
    EndDialog(id);
    return 0;
  }
  void OnFinalMessage(HWND window) override {
    ++finalMessages;
    finalWindow = window;
  }
};

TEST(CDialogImpl, ModalRunEndsWithTheCommandAndUnbinds) {
  ASSERT_TRUE(kControlsRegistered);
  CProbeDlg dlg;
  HWND window = nullptr;
  dlg.onInit = [&](CProbeDlg& d) {
    window = d.m_hWnd;
    // Posted, so it arrives once the dialog runs its own loop.
    d.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0x1234), 0);
  };
  EXPECT_EQ(IDCANCEL, dlg.DoModal(nullptr));
  EXPECT_NE(nullptr, window);
  EXPECT_EQ(0x1234, dlg.cancelNotifyCode);
  EXPECT_EQ(nullptr, dlg.m_hWnd);
  EXPECT_EQ(1, dlg.finalMessages);
  EXPECT_EQ(window, dlg.finalWindow);
  EXPECT_FALSE(IsWindow(window));
}

TEST(CDialogImpl, HandledFlagDecidesWhetherTheSearchGoesOn) {
  CProbeDlg dlg;
  LRESULT passOn = 0, taken = 0;
  BOOL unmapped = TRUE;
  dlg.onInit = [&](CProbeDlg& d) {
    passOn = d.SendMessage(kPassOn);
    taken = d.SendMessage(kTakenByBase);
    LRESULT result = 99;
    unmapped = d.ProcessWindowMessage(d.m_hWnd, kUnmapped, 0, 0, result, 0);
    d.EndDialog(1);
  };
  EXPECT_EQ(1, dlg.DoModal(nullptr));
  EXPECT_EQ(7, passOn);
  EXPECT_EQ(42, taken);
  EXPECT_FALSE(unmapped);
  const std::vector<const char*> expected = {"base pass-on", "derived pass-on", "base taken"};
  EXPECT_EQ(expected, dlg.calls);
}

TEST(CDialogImpl, MissingTemplateGivesMinusOne) {
  struct CMissingDlg : ATL::CDialogImpl<CMissingDlg> {
    enum { IDD = IDD_MISSING };
    BEGIN_MSG_MAP(CMissingDlg)
    END_MSG_MAP()
  } dlg;
  EXPECT_EQ(-1, dlg.DoModal(nullptr));
  EXPECT_EQ(nullptr, dlg.m_hWnd);
  // A later dialog on the same thread still binds.
  CProbeDlg probe;
  probe.onInit = [](CProbeDlg& d) { d.EndDialog(3); };
  EXPECT_EQ(3, probe.DoModal(nullptr));
}

TEST(CDialogImpl, NestedDialogsBindToTheirOwnObjects) {
  CProbeDlg outer, inner;
  HWND innerOwner = nullptr;
  inner.onInit = [&](CProbeDlg& d) {
    innerOwner = d.GetOwner();
    d.EndDialog(4);
  };
  INT_PTR innerResult = 0;
  outer.onInit = [&](CProbeDlg& d) {
    innerResult = inner.DoModal(d.m_hWnd);
    d.SendMessage(kTakenByBase);  // still reaches the outer object
    d.EndDialog(5);
  };
  EXPECT_EQ(5, outer.DoModal(nullptr));
  EXPECT_EQ(4, innerResult);
  EXPECT_EQ(1u, outer.calls.size());
  EXPECT_TRUE(inner.calls.empty());
  EXPECT_NE(nullptr, innerOwner);
}

TEST(CAppModule, DialogsComeFromTheModulesResourceInstance) {
  WTL::CAppModule module;
  EXPECT_EQ(S_OK, module.Init(nullptr, GetModuleHandleW(nullptr)));
  EXPECT_EQ(GetModuleHandleW(nullptr), module.GetResourceInstance());
  EXPECT_EQ(GetModuleHandleW(nullptr), ATL::GetResourceInstance());
  CProbeDlg dlg;
  dlg.onInit = [](CProbeDlg& d) { d.EndDialog(6); };
  EXPECT_EQ(6, dlg.DoModal(nullptr));
  module.Term();
  EXPECT_EQ(nullptr, module.GetResourceInstance());
}

TEST(CProgressBarCtrl, MovesTheBar) {
  CProbeDlg dlg;
  int previous = -1, now = -1;
  dlg.onInit = [&](CProbeDlg& d) {
    WTL::CProgressBarCtrl bar;
    bar = d.GetDlgItem(IDC_PROGRESS);
    bar.SetPos(30);
    previous = bar.SetPos(55);
    now = bar.GetPos();
    d.EndDialog(1);
  };
  dlg.DoModal(nullptr);
  EXPECT_EQ(30, previous);
  EXPECT_EQ(55, now);
}

// Owner window states and where the dialog must land.
TEST(CWindow, CenterWindow) {
  struct Case {
    const char* name;
    bool owner;
    bool visible;
    bool minimised;
    bool onOwner;
  };
  const Case cases[] = {
      {"no owner", false, false, false, false},
      {"visible owner", true, true, false, true},
      {"hidden owner", true, false, false, false},
      {"minimised owner", true, true, true, false},
  };
  for (const Case& c : cases) {
    HWND owner = nullptr;
    if (c.owner) {
      owner = CreateWindowExW(0, L"Static", L"owner", WS_POPUP | WS_CAPTION, 130, 90, 300, 200,
                              nullptr, nullptr, nullptr, nullptr);
      ASSERT_NE(nullptr, owner) << c.name;
      if (c.visible) ShowWindow(owner, c.minimised ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE);
    }
    CProbeDlg dlg;
    BOOL centred = FALSE;
    RECT window = {}, workArea = {}, ownerRect = {};
    dlg.onInit = [&](CProbeDlg& d) {
      centred = d.CenterWindow();
      d.GetWindowRect(&window);
      MONITORINFO monitor = {};
      monitor.cbSize = sizeof(monitor);
      GetMonitorInfoW(MonitorFromWindow(d.m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
      workArea = monitor.rcWork;
      if (owner) GetWindowRect(owner, &ownerRect);
      d.EndDialog(1);
    };
    dlg.DoModal(owner);
    if (owner) DestroyWindow(owner);

    EXPECT_TRUE(centred) << c.name;
    const RECT& reference = c.onOwner ? ownerRect : workArea;
    const LONG width = window.right - window.left, height = window.bottom - window.top;
    EXPECT_EQ((reference.left + reference.right) / 2 - width / 2, window.left) << c.name;
    EXPECT_EQ((reference.top + reference.bottom) / 2 - height / 2, window.top) << c.name;
  }
}

}  // namespace
