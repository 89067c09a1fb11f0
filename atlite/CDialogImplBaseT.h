#pragma once

#include "CWindowImplRoot.h"

namespace ATL {

// Binds a dialog object to its window and routes the window's messages to
// the object's message map.
//
// The object is handed to the first message of its window through a
// per-thread slot (dialog creation is synchronous on the creating thread,
// so nested dialogs take turns), then kept as a window property.
template <class TBase = CWindow>
class CDialogImplBaseT : public CWindowImplRoot<TBase> {
 public:
  virtual DLGPROC GetDialogProc() { return DialogProc; }
  // Called after the window's last message, with the handle already cleared.
  virtual void OnFinalMessage(HWND /*window*/) {}

  static INT_PTR CALLBACK StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CBinding& binding = Binding();
    CDialogImplBaseT* dialog = binding.pending;
    if (dialog == nullptr) return FALSE;
    binding.pending = nullptr;
    if (!::SetPropW(window, PropertyName(), dialog)) {
      // The object cannot be reached from its window: end before the dialog
      // shows and let the creator report it.
      binding.failed = true;
      ::EndDialog(window, -1);
      return FALSE;
    }
    dialog->m_hWnd = window;
    DLGPROC proc = dialog->GetDialogProc();
    ::SetWindowLongPtrW(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    return proc(window, message, wParam, lParam);
  }

  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = static_cast<CDialogImplBaseT*>(::GetPropW(window, PropertyName()));
    if (dialog == nullptr) return FALSE;
    LRESULT result = 0;
    const BOOL handled = dialog->ProcessWindowMessage(window, message, wParam, lParam, result, 0);
    if (message == WM_NCDESTROY) {
      ::RemovePropW(window, PropertyName());
      dialog->m_hWnd = nullptr;
      dialog->OnFinalMessage(window);
    }
    if (!handled) return FALSE;
    switch (message) {
      // These return their result directly instead of through DWLP_MSGRESULT.
      case WM_INITDIALOG:
      case WM_COMPAREITEM:
      case WM_VKEYTOITEM:
      case WM_CHARTOITEM:
      case WM_QUERYDRAGICON:
      case WM_CTLCOLORMSGBOX:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORDLG:
      case WM_CTLCOLORSCROLLBAR:
      case WM_CTLCOLORSTATIC:
        return static_cast<INT_PTR>(result);
      default:
        if (message != WM_NCDESTROY) ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
  }

 protected:
  struct CBinding {
    CDialogImplBaseT* pending;
    bool failed;
  };

  // Prepares the binding for the next dialog created on this thread.
  void BeginBinding() { Binding() = CBinding{this, false}; }
  // True if the binding failed; clears a binding that never happened
  // (the dialog could not be created).
  static bool EndBinding() {
    CBinding& binding = Binding();
    const bool failed = binding.failed;
    binding = CBinding{nullptr, false};
    return failed;
  }

 private:
  static CBinding& Binding() {
    static thread_local CBinding binding{nullptr, false};
    return binding;
  }
  static LPCWSTR PropertyName() { return L"atlite.CDialogImplBaseT"; }
};

}  // namespace ATL
