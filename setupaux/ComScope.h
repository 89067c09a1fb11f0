#pragma once

#include <windows.h>
#include <objbase.h>

// COM entered on the calling thread for a scope and left at its end, so that
// the installer's thread is left as it was found. A thread already in
// another apartment keeps it, and is not left here.
class CComScope {
 public:
  explicit CComScope(DWORD apartment) : m_entered(SUCCEEDED(CoInitializeEx(nullptr, apartment))) {}
  ~CComScope() {
    if (m_entered) CoUninitialize();
  }
  CComScope(const CComScope&) = delete;
  CComScope& operator=(const CComScope&) = delete;

 private:
  const bool m_entered;
};
