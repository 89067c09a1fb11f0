#include <set>
#include <string>

#include "Actions.h"
#include "CustomAction.h"
#include "InstallerProperty.h"
#include "StringUtils.h"

using namespace setupaux;

namespace {

// Each may hold the product code of an installed older product.
const wchar_t* const kOldProductProperties[] = {
    L"VANTREL_OLD_DULON",   L"VANTREL_OLD_DULON_X64",   L"VANTREL_OLD_MARROWIN",
    L"VANTREL_OLD_KELVANE", L"VANTREL_OLD_KELVANE_X64",
};

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// "Name Major.Minor"; a name that already ends with its major version keeps it once.
std::wstring DescribeInstalledProduct(const std::wstring& productCode) {
  std::wstring entry = GetProductProperty(productCode, L"InstalledProductName");
  const std::wstring major = GetProductProperty(productCode, L"VersionMajor");
  const std::wstring minor = GetProductProperty(productCode, L"VersionMinor");
  if (!EndsWith(entry, L" " + major)) entry += L" " + major;
  entry += L"." + minor;
  return entry;
}

}  // namespace

UINT __stdcall askRemoveOld(MSIHANDLE hInstall) {
  return RunCustomAction([hInstall]() -> UINT {
    // Ordered by UTF-16 code units, each entry once.
    std::set<std::wstring> entries;
    for (const wchar_t* property : kOldProductProperties) {
      const std::wstring code = GetProperty(hInstall, property);
      if (!code.empty()) entries.insert(DescribeInstalledProduct(code));
    }
    if (entries.empty()) return ERROR_SUCCESS;

    const std::wstring captionTemplate = GetProperty(hInstall, L"VANTREL_OLD_CAPTION");
    const std::wstring caption =
        ReplaceAll(captionTemplate, L"[ProductName]", GetProperty(hInstall, L"ProductName"));
    const std::wstring messageTemplate = GetProperty(hInstall, L"VANTREL_OLD_MESSAGE");
    std::wstring list;
    for (const std::wstring& entry : entries) {
      if (!list.empty()) list += L'\n';
      list += L"* " + entry;
    }
    const std::wstring message = ReplaceAll(messageTemplate, L"{PRODUCTS}", list);

    const int answer =
        MessageBoxW(nullptr, message.c_str(), caption.c_str(), MB_OKCANCEL | MB_ICONQUESTION);
    return answer == IDOK ? ERROR_SUCCESS : ERROR_INSTALL_USEREXIT;
  });
}
