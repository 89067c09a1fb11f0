// Test-only in-process COM server standing in for the Flash Player control.
// Its table is laid out by hand from the control's published type library,
// independently of the declaration the library under test uses: FlashVersion
// is slot 39 (IUnknown 3, IDispatch 4, then 32 members before it). Every
// other member answers like a wrong slot would, with a failure.
//
// The answer is chosen by the test through HKCU\Software\Vantrel Test\Flash stub:
// "Version" (the version word), "Status" (what FlashVersion returns),
// "NoInterface" (non-zero: refuse the control's interface).
#include <windows.h>
#include <ole2.h>

#include "ComStub.h"

namespace {

const CLSID kClsid = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID kFlashIid = {
    0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const int kFlashVersionSlot = 39;
const int kSlots = kFlashVersionSlot + 1;

DWORD Setting(const wchar_t* name, DWORD fallback) {
  DWORD value = fallback;
  DWORD bytes = sizeof(value);
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Vantrel Test\\Flash stub", name, RRF_RT_REG_DWORD,
                   nullptr, &value, &bytes) != ERROR_SUCCESS)
    return fallback;
  return value;
}

bool AcceptsFlash(REFIID iid) {
  return IsEqualIID(iid, IID_IDispatch) ||
         (IsEqualIID(iid, kFlashIid) && Setting(L"NoInterface", 0) == 0);
}

HRESULT __stdcall GetTypeInfoCount(com_stub::CObject*, UINT* count) {
  *count = 0;
  return S_OK;
}
HRESULT __stdcall GetTypeInfo(com_stub::CObject*, UINT, LCID, void**) { return E_NOTIMPL; }
HRESULT __stdcall GetIDsOfNames(com_stub::CObject*, REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
HRESULT __stdcall Invoke(com_stub::CObject*, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                         EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

HRESULT __stdcall FlashVersion(com_stub::CObject*, long* version) {
  *version = static_cast<long>(Setting(L"Version", 0));
  return static_cast<HRESULT>(Setting(L"Status", S_OK));
}

// Called through FlashVersion's signature if a caller picks the wrong slot.
HRESULT __stdcall WrongSlot(com_stub::CObject*, long* version) {
  *version = 0x7FFF0000;
  return E_UNEXPECTED;
}

struct Table {
  void* slots[kSlots];
  Table() {
    for (void*& slot : slots) slot = reinterpret_cast<void*>(&WrongSlot);
    slots[0] = reinterpret_cast<void*>(&com_stub::QueryInterface<AcceptsFlash>);
    slots[1] = reinterpret_cast<void*>(&com_stub::AddRef);
    slots[2] = reinterpret_cast<void*>(&com_stub::Release);
    slots[3] = reinterpret_cast<void*>(&GetTypeInfoCount);
    slots[4] = reinterpret_cast<void*>(&GetTypeInfo);
    slots[5] = reinterpret_cast<void*>(&GetIDsOfNames);
    slots[6] = reinterpret_cast<void*>(&Invoke);
    slots[kFlashVersionSlot] = reinterpret_cast<void*>(&FlashVersion);
  }
};
const Table kFlashTable;

}  // namespace

const CLSID com_stub::kClass = kClsid;
void* const* const com_stub::kTable = kFlashTable.slots;
