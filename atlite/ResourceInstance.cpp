#include "ResourceInstance.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace ATL {

namespace {
HINSTANCE g_resourceInstance = nullptr;
}

HINSTANCE GetResourceInstance() {
  return g_resourceInstance ? g_resourceInstance : reinterpret_cast<HINSTANCE>(&__ImageBase);
}

void SetResourceInstance(HINSTANCE instance) { g_resourceInstance = instance; }

}  // namespace ATL
