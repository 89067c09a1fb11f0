#pragma once

#include <objbase.h>

#include "ShellOpenFile.h"

// COM on the calling thread, in the apartment the shell asks for, entered at
// its first use rather than earlier (bootfetch's dialog would only be held
// back) and left when the holder goes, so that a thread is left as it was
// found. A thread already in another apartment keeps it, and is not left.
class CComApartment {
 public:
  CComApartment() = default;
  ~CComApartment() {
    if (m_entered) CoUninitialize();
  }
  CComApartment(const CComApartment&) = delete;
  CComApartment& operator=(const CComApartment&) = delete;

  // Enters once; a failed attempt is tried again at the next use.
  void Enter() {
    if (!m_entered) m_entered = SUCCEEDED(CoInitializeEx(nullptr, kShellApartment));
  }

 private:
  bool m_entered = false;
};
