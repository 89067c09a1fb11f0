#pragma once

#include <windows.h>

// Size of the next body read. A synchronous WinInet read returns only when
// its buffer is full or the body ends: small reads cap the speed, large ones
// on a slow link would hold the progress back for seconds. So the size
// starts small, doubles while full reads come back quickly and halves when
// one is slow.
class CReadSize {
 public:
  static const DWORD kSmallest = 1024;
  static const DWORD kLargest = 1024 * 1024;
  static const DWORD kQuickMs = 50;  // a full read this fast may grow
  static const DWORD kSlowMs = 100;  // a read slower than this shrinks

  DWORD Get() const { return m_size; }

  void Update(DWORD bytesRead, DWORD elapsedMs) {
    if (elapsedMs > kSlowMs) {
      if (m_size > kSmallest) m_size /= 2;
    } else if (elapsedMs < kQuickMs && bytesRead == m_size && m_size < kLargest) {
      m_size *= 2;
    }
  }

 private:
  DWORD m_size = kSmallest;
};
