#pragma once

#include "CAutoTranslateDlgCommon.h"
#include "CDialogImpl.h"
#include "ui/CTranslator.h"

// A modal dialog of this program: translated through the message catalogue
// when it opens, and focused whenever the application is (de)activated.
template <class T, class TBase = ATL::CWindow>
class CAutoTranslateDlg
    : public quenrow_commons::CAutoTranslateDlgCommon<T, ATL::CDialogImpl<T, TBase>, CTranslator> {
};
