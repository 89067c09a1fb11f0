#pragma once

#include <atomic>

#include "download/WinInetLibrary.h"

// Owns one WinInet handle that two threads may close: the worker that made
// it, when its attempt ends, and the downloader, to end a call blocked on the
// network. Whoever takes the handle first closes it, so it closes once.
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
  void Close() {
    // Only a loaded WinInet hands out handles.
    if (const HINTERNET handle = m_handle.exchange(nullptr)) WinInet().InternetCloseHandle(handle);
  }
  HINTERNET Get() const { return m_handle; }

 private:
  std::atomic<HINTERNET> m_handle{nullptr};
};
