#include <string>

#include "Actions.h"
#include "ComApartment.h"
#include "CustomAction.h"
#include "InstallerProperty.h"
#include "ProductEdition.h"
#include "ShellOpenFile.h"
#include "TrialUrl.h"
#include "reg_key.h"

using namespace setupaux;

namespace {

const wchar_t kMarker[] = L"TrialUrlOpened";

}  // namespace

// Opens the thank-you page once per user and edition.
UINT __stdcall openTrialUrl(MSIHANDLE hInstall) {
  return RunCustomAction([hInstall]() -> UINT {
    const ProductEdition edition = EditionFromProductName(GetProperty(hInstall, L"ProductName"));
    // The marker key names the product generation, not the installed version.
    const std::wstring keyPath = EditionRegistryKey(edition, L"6");
    {
      reg_key marker;
      marker.open_key(HKEY_CURRENT_USER, keyPath, KEY_ALL_ACCESS);
      if (marker.query_number(kMarker, 0) != 0) return ERROR_SUCCESS;
    }

    const std::wstring version = GetProperty(hInstall, L"ProductVersion");
    const int language = LanguageCodeFromProductLanguage(GetProperty(hInstall, L"ProductLanguage"));
    const std::wstring url =
        BuildTrialUrl(WebHostForLanguage(language), EditionKey(edition), version);
    {
      CComApartment com;
      com.Enter();
      ShellOpenFile(url, nullptr);
    }

    // Written after the launch attempt: a refused launch is not offered again,
    // an unwritable marker means the page comes again next time.
    reg_key marker;
    if (marker.create_key(HKEY_CURRENT_USER, keyPath, KEY_READ | KEY_WRITE) == ERROR_SUCCESS)
      marker.set_dword(kMarker, 1);
    return ERROR_SUCCESS;
  });
}
