#pragma once

#include "WinInetLibrary.h"

// Owns one WinInet handle; storing another closes the one held before.
class CInternetHandle {
 public:
  explicit CInternetHandle(const CWinInetEntryPoints& api) : m_api(api) {}
  ~CInternetHandle() { Close(); }
  CInternetHandle(const CInternetHandle&) = delete;
  CInternetHandle& operator=(const CInternetHandle&) = delete;

  void Set(HINTERNET handle) {
    Close();
    m_handle = handle;
  }
  BOOL Close() {
    if (m_handle == nullptr) return TRUE;
    const BOOL closed = m_api.InternetCloseHandle(m_handle);
    m_handle = nullptr;
    return closed;
  }
  // Forgets the handle without closing it, for one that was closed already.
  void Release() { m_handle = nullptr; }
  HINTERNET Get() const { return m_handle; }

 private:
  const CWinInetEntryPoints& m_api;
  HINTERNET m_handle = nullptr;
};
