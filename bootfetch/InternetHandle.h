#pragma once

#include <windows.h>
#include <wininet.h>

// Owns one WinInet handle; storing another closes the one held before.
class CInternetHandle {
 public:
  CInternetHandle() = default;
  ~CInternetHandle() { Close(); }
  CInternetHandle(const CInternetHandle&) = delete;
  CInternetHandle& operator=(const CInternetHandle&) = delete;

  void Set(HINTERNET handle) {
    Close();
    m_handle = handle;
  }
  BOOL Close() {
    if (m_handle == nullptr) return TRUE;
    const BOOL closed = InternetCloseHandle(m_handle);
    m_handle = nullptr;
    return closed;
  }
  HINTERNET Get() const { return m_handle; }

 private:
  HINTERNET m_handle = nullptr;
};
