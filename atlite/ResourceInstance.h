#pragma once

#include <windows.h>

namespace ATL {

// Module whose resources dialogs are created from: the one set by the
// application module, else the module this code is linked into.
HINSTANCE GetResourceInstance();
// A null instance restores the default.
void SetResourceInstance(HINSTANCE instance);

}  // namespace ATL
