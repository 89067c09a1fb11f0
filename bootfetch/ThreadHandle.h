#pragma once

#include <windows.h>

// Owns one thread handle (null when empty); storing another closes the one
// held before.
class CThreadHandle {
 public:
  CThreadHandle() = default;
  ~CThreadHandle() { Close(); }
  CThreadHandle(const CThreadHandle&) = delete;
  CThreadHandle& operator=(const CThreadHandle&) = delete;

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
