#include "ComStub.h"

namespace {

com_stub::CFactory factory(com_stub::kTable);

}  // namespace

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** result) {
  *result = nullptr;
  if (!IsEqualCLSID(clsid, com_stub::kClass)) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, result);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() { return S_FALSE; }
