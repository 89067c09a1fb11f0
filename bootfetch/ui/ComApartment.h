#pragma once

#include <objbase.h>

#include "ShellOpenFile.h"

// COM on the thread that owns the object, entered at its first use (the
// taskbar button, the shell's launch) rather than at start-up, where it only
// held the dialog back. Left when the object goes.
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
