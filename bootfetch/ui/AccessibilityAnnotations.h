#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>

// What screen readers learn of the dialog beyond its windows' texts: a name
// for a control that has no text of its own, and a static text marked as a
// polite live region, whose changes they read out when told (Windows 8 and
// later; earlier ones read it when the user asks). Annotations go through
// the system's IAccPropServices, so no accessibility server of our own is
// needed.
class CAccessibilityAnnotations {
 public:
  CAccessibilityAnnotations() = default;
  ~CAccessibilityAnnotations();
  CAccessibilityAnnotations(const CAccessibilityAnnotations&) = delete;
  CAccessibilityAnnotations& operator=(const CAccessibilityAnnotations&) = delete;

  // On the thread that has entered COM; false when the system offers no
  // annotations, and every later call then does nothing.
  bool Open();
  void SetName(HWND control, const std::wstring& name);
  void MakeLiveRegion(HWND control);
  // Tells screen readers that a live region's text has changed.
  static void Announce(HWND control);

 private:
  IAccPropServices* m_services = nullptr;
};
