#pragma once

#include <windows.h>

namespace WTL {

// The application's module: the instance whose resources dialogs use.
class CAppModule {
 public:
  // The object map and type library are not supported and must be null.
  HRESULT Init(void* objectMap, HINSTANCE instance, const GUID* libId = nullptr);
  void Term();

  HINSTANCE GetModuleInstance() const { return m_instance; }
  HINSTANCE GetResourceInstance() const { return m_instance; }

 private:
  HINSTANCE m_instance = nullptr;
};

}  // namespace WTL
