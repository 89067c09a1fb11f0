#pragma once

#include <windows.h>

#include "CAlwaysActivatedWindow.h"
#include "CAutoTranslateCommon.h"
#include "MessageMapMacros.h"

namespace quenrow_commons {

// A dialog (TBase, a CDialogImpl) that translates its caption and controls
// on WM_INITDIALOG with its own translator part, before the derived dialog's
// handler runs, and keeps the focus when the application is (de)activated.
template <class T, class TBase, class TTranslator>
class CAutoTranslateDlgCommon
    : public TBase,
      public CAutoTranslateCommon<TTranslator>,
      public CAlwaysActivatedWindow<CAutoTranslateDlgCommon<T, TBase, TTranslator>> {
  typedef CAlwaysActivatedWindow<CAutoTranslateDlgCommon> CActivation;

 public:
  void TranslateDialog() { this->TranslateWindow(this->m_hWnd); }

  BEGIN_MSG_MAP(CAutoTranslateDlgCommon)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialogTranslate)
    CHAIN_MSG_MAP(CActivation)
  END_MSG_MAP()

  // Leaves the message unhandled so that the derived dialog's own
  // WM_INITDIALOG handler runs next and sees the translated texts.
  LRESULT OnInitDialogTranslate(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    TranslateDialog();
    bHandled = FALSE;
    return 0;
  }
};

}  // namespace quenrow_commons
