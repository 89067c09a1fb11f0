#include "ui/AccessibilityAnnotations.h"

namespace {

// Defined here rather than taken from oleacc's import library, which would
// bring oleacc.dll into the import table: it is not a DLL Windows always
// takes from the system folder. COM loads it from there by its registration.
const CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const IID kIAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
const GUID kNameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
// UI Automation's LiveSetting property and its value Polite, which MSAA
// annotations carry too; mingw-w64's headers lack both.
const GUID kLiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
const LONG kPolite = 1;
#ifndef EVENT_OBJECT_LIVEREGIONCHANGED
const DWORD EVENT_OBJECT_LIVEREGIONCHANGED = 0x8019;
#endif

}  // namespace

CAccessibilityAnnotations::~CAccessibilityAnnotations() {
  if (m_services) m_services->Release();
}

bool CAccessibilityAnnotations::Open() {
  if (m_services) return true;
  return SUCCEEDED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    kIAccPropServices, reinterpret_cast<void**>(&m_services)));
}

void CAccessibilityAnnotations::SetName(HWND control, const std::wstring& name) {
  if (!m_services) return;
  m_services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kNameProperty,
                             name.c_str());
}

void CAccessibilityAnnotations::MakeLiveRegion(HWND control) {
  if (!m_services) return;
  VARIANT polite = {};
  polite.vt = VT_I4;
  polite.lVal = kPolite;
  m_services->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                          kLiveSettingProperty, polite);
}

void CAccessibilityAnnotations::Announce(HWND control) {
  NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, control, OBJID_CLIENT, CHILDID_SELF);
}
