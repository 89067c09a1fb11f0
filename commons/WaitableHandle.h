#pragma once

#include <windows.h>

#include "Handle.h"

struct CWaitableHandleTraits {
  typedef HANDLE Handle;
  typedef HANDLE Slot;
  static HANDLE Empty() { return nullptr; }
  static bool Close(HANDLE handle) { return CloseHandle(handle) != FALSE; }
};

// Owns one handle that can be waited for, a thread or an event (null when
// empty).
class CWaitableHandle : public CHandleBase<CWaitableHandleTraits> {
 public:
  DWORD Wait(DWORD milliseconds) const { return WaitForSingleObject(m_handle, milliseconds); }
};
