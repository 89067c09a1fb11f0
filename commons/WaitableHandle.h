#pragma once

#include <windows.h>

// Owns one handle that can be waited for, a thread or an event (null when
// empty); storing another closes the one held before.
class CWaitableHandle {
 public:
  CWaitableHandle() = default;
  ~CWaitableHandle() { Close(); }
  CWaitableHandle(const CWaitableHandle&) = delete;
  CWaitableHandle& operator=(const CWaitableHandle&) = delete;

  void Set(HANDLE handle) {
    Close();
    m_handle = handle;
  }
  BOOL Close() {
    if (m_handle == nullptr) return TRUE;
    const BOOL closed = CloseHandle(m_handle);
    m_handle = nullptr;
    return closed;
  }
  DWORD Wait(DWORD milliseconds) const { return WaitForSingleObject(m_handle, milliseconds); }
  HANDLE Get() const { return m_handle; }

 private:
  HANDLE m_handle = nullptr;
};
