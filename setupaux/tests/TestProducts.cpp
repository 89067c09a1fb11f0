#include "TestProducts.h"

#include <windows.h>
#include <msi.h>

#include "SetupAuxLibrary.h"

bool EnsureProductInstalled(const testproducts::Product& product) {
  if (MsiQueryProductStateW(product.code) == INSTALLSTATE_DEFAULT) return true;
  MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
  const std::wstring package = ProgramFolder() + L"\\" + product.package;
  return MsiInstallProductW(package.c_str(), L"") == ERROR_SUCCESS;
}
