#pragma once

#include <windows.h>

#include "Handle.h"

// Owns one handle that can be waited for, a thread or an event (null when
// empty).
class CWaitableHandle : public CHandleBase<CKernelHandleTraits<0>> {
 public:
  DWORD Wait(DWORD milliseconds) const { return WaitForSingleObject(m_handle, milliseconds); }
};
