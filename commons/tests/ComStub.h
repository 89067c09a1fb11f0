#pragma once

#include <windows.h>
#include <ole2.h>

// The common part of the test-only in-process COM servers that stand in for
// outside components: objects of one class whose member table the stub lays
// out by hand (IUnknown's three members first), the class factory that makes
// them and the DLL's exports (ComStub.cpp).
namespace com_stub {

// What every member of a hand-laid table receives as its object.
struct CObject {
  void* const* table;
  LONG references;
};

inline ULONG __stdcall AddRef(CObject* self) { return InterlockedIncrement(&self->references); }

inline ULONG __stdcall Release(CObject* self) {
  const LONG left = InterlockedDecrement(&self->references);
  if (left == 0) delete self;
  return left;
}

// Answers for IUnknown and for the interfaces `accepts` takes.
template <bool (*accepts)(REFIID)>
HRESULT __stdcall QueryInterface(CObject* self, REFIID iid, void** result) {
  *result = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !accepts(iid)) return E_NOINTERFACE;
  AddRef(self);
  *result = self;
  return S_OK;
}

// Makes objects with the given table, asking its QueryInterface for the
// interface wanted.
class CFactory : public IClassFactory {
 public:
  explicit CFactory(void* const* table) : m_table(table) {}
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
    auto* object = new CObject{m_table, 1};
    typedef HRESULT(__stdcall * QueryFunction)(CObject*, REFIID, void**);
    const HRESULT status = reinterpret_cast<QueryFunction>(m_table[0])(object, iid, result);
    com_stub::Release(object);
    return status;
  }
  HRESULT __stdcall LockServer(BOOL) override { return S_OK; }

 private:
  void* const* m_table;
};

// Each stub defines its one class and its member table; ComStub.cpp, built
// into it, makes the DLL's exports from them.
extern const CLSID kClass;
extern void* const* const kTable;

}  // namespace com_stub
