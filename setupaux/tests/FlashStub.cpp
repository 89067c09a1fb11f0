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

struct FlashObject {
  void* const* table;
  LONG references;
};

HRESULT __stdcall QueryInterface(FlashObject* self, REFIID iid, void** result) {
  *result = nullptr;
  const bool flash = IsEqualIID(iid, kFlashIid) && Setting(L"NoInterface", 0) == 0;
  if (!flash && !IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch))
    return E_NOINTERFACE;
  InterlockedIncrement(&self->references);
  *result = self;
  return S_OK;
}

ULONG __stdcall AddRef(FlashObject* self) { return InterlockedIncrement(&self->references); }

ULONG __stdcall Release(FlashObject* self) {
  const LONG left = InterlockedDecrement(&self->references);
  if (left == 0) delete self;
  return left;
}

HRESULT __stdcall GetTypeInfoCount(FlashObject*, UINT* count) {
  *count = 0;
  return S_OK;
}
HRESULT __stdcall GetTypeInfo(FlashObject*, UINT, LCID, void**) { return E_NOTIMPL; }
HRESULT __stdcall GetIDsOfNames(FlashObject*, REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
HRESULT __stdcall Invoke(FlashObject*, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                         EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

HRESULT __stdcall FlashVersion(FlashObject*, long* version) {
  *version = static_cast<long>(Setting(L"Version", 0));
  return static_cast<HRESULT>(Setting(L"Status", S_OK));
}

// Called through FlashVersion's signature if a caller picks the wrong slot.
HRESULT __stdcall WrongSlot(FlashObject*, long* version) {
  *version = 0x7FFF0000;
  return E_UNEXPECTED;
}

struct Table {
  void* slots[kSlots];
  Table() {
    for (void*& slot : slots) slot = reinterpret_cast<void*>(&WrongSlot);
    slots[0] = reinterpret_cast<void*>(&QueryInterface);
    slots[1] = reinterpret_cast<void*>(&AddRef);
    slots[2] = reinterpret_cast<void*>(&Release);
    slots[3] = reinterpret_cast<void*>(&GetTypeInfoCount);
    slots[4] = reinterpret_cast<void*>(&GetTypeInfo);
    slots[5] = reinterpret_cast<void*>(&GetIDsOfNames);
    slots[6] = reinterpret_cast<void*>(&Invoke);
    slots[kFlashVersionSlot] = reinterpret_cast<void*>(&FlashVersion);
  }
};
const Table kTable;

class CFactory : public IClassFactory {
 public:
  HRESULT __stdcall QueryInterface(REFIID iid, void** result) override {
    *result = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
    *result = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG __stdcall AddRef() override { return 2; }
  ULONG __stdcall Release() override { return 1; }
  HRESULT __stdcall CreateInstance(IUnknown* outer, REFIID iid, void** result) override {
    *result = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* object = new FlashObject{kTable.slots, 1};
    const HRESULT status = ::QueryInterface(object, iid, result);
    ::Release(object);
    return status;
  }
  HRESULT __stdcall LockServer(BOOL) override { return S_OK; }
};
CFactory factory;

}  // namespace

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** result) {
  *result = nullptr;
  if (!IsEqualCLSID(clsid, kClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, result);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() { return S_FALSE; }
