#include <cstdint>
#include <stdexcept>
#include <string>

#include "Actions.h"
#include "CustomAction.h"
#include "InstallerProperty.h"
#include "reg_key.h"

using namespace setupaux;

namespace {

const wchar_t kAddinsPath[] = L"\\Software\\Microsoft\\Office\\PowerPoint\\Addins\\";
const DWORD kLoadAtStartup = 3;
// The default view, then the 32-bit and the 64-bit one.
const REGSAM kViews[] = {0, KEY_WOW64_32KEY, KEY_WOW64_64KEY};

void FixAddinLoadBehavior(const std::wstring& path) {
  for (const REGSAM view : kViews) {
    reg_key key;
    // Keys are never created: a profile without the add-in stays without it.
    if (key.open_key(HKEY_USERS, path, KEY_READ | view) != ERROR_SUCCESS) continue;
    if (key.query_number(L"LoadBehavior", 0) == static_cast<std::int32_t>(kLoadAtStartup)) continue;
    key.close_key();
    if (key.open_key(HKEY_USERS, path, KEY_READ | KEY_WRITE | view) == ERROR_SUCCESS)
      key.set_dword(L"LoadBehavior", kLoadAtStartup);
  }
}

void FixAddinForAllUsers(const std::wstring& addinName) {
  reg_key users;
  if (users.open_key(HKEY_USERS, L"", KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
  std::wstring hive;
  for (DWORD index = 0; users.enum_subkey(index, hive); ++index)
    FixAddinLoadBehavior(hive + kAddinsPath + addinName);
}

}  // namespace

UINT __stdcall fixConnect(MSIHANDLE hInstall) {
  return RunCustomAction([hInstall]() -> UINT {
    for (const wchar_t* property : {L"CONNECT2007NAME", L"CONNECT2003NAME"}) {
      // An unreadable name is treated like an absent one; memory exhaustion
      // still ends the action.
      std::wstring name;
      try {
        name = GetProperty(hInstall, property);
      } catch (const std::runtime_error&) {
        name.clear();
      }
      if (!name.empty()) FixAddinForAllUsers(name);
    }
    return ERROR_SUCCESS;
  });
}
