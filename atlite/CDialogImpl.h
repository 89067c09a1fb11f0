#pragma once

#include "CDialogImplBaseT.h"
#include "MessageMapMacros.h"
#include "ResourceInstance.h"

namespace ATL {

// Modal dialog for template T::IDD of the resource instance; T supplies the
// message map.
template <class T, class TBase = CWindow>
class CDialogImpl : public CDialogImplBaseT<TBase> {
 public:
  // DialogBoxParamW's result: EndDialog's value, or -1 if the dialog could
  // not be created. If the object could not be bound to its window the last
  // error is ERROR_OUTOFMEMORY.
  INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM initParam = 0) {
    this->BeginBinding();
    const INT_PTR result =
        ::DialogBoxParamW(GetResourceInstance(), MAKEINTRESOURCEW(T::IDD), parent,
                          CDialogImplBaseT<TBase>::StartDialogProc, initParam);
    if (this->EndBinding()) {
      ::SetLastError(ERROR_OUTOFMEMORY);
      return -1;
    }
    return result;
  }
};

}  // namespace ATL
