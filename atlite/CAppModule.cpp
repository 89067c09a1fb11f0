#include "CAppModule.h"

#include "ResourceInstance.h"

namespace WTL {

HRESULT CAppModule::Init(void* objectMap, HINSTANCE instance, const GUID* libId) {
  if (objectMap != nullptr || libId != nullptr || instance == nullptr) return E_INVALIDARG;
  m_instance = instance;
  ATL::SetResourceInstance(instance);
  return S_OK;
}

void CAppModule::Term() {
  if (m_instance != nullptr && ATL::GetResourceInstance() == m_instance)
    ATL::SetResourceInstance(nullptr);
  m_instance = nullptr;
}

}  // namespace WTL
