#include <climits>
#include <stdexcept>
#include <string>

#include "Actions.h"
#include "CustomAction.h"
#include "InstallerProperty.h"
#include "StringUtils.h"
#include "ToNumber.h"

using namespace setupaux;

namespace {

const wchar_t kCounter[] = L"VANTREL_OLVO_CHECKBOX";
const wchar_t kState[] = L"WIXUI_EXITDIALOGOPTIONALCHECKBOX";
const wchar_t kLabel[] = L"WIXUI_EXITDIALOGOPTIONALCHECKBOXTEXT";
const wchar_t kDisable[] = L"WIXUI_EXITDIALOGOPTIONALCHECKBOXDISABLE";
const wchar_t kRecordName[] = L"CHECK_ID";
const wchar_t kTarget[] = L"CHECK";

}  // namespace

UINT __stdcall addCheckbox(MSIHANDLE hInstall) {
  return RunCustomAction([hInstall]() -> UINT {
    std::wstring suffix = GetProperty(hInstall, kCounter);
    if (suffix.empty()) suffix = L"1";
    const std::int32_t number = ToNumber(suffix);
    // The next counter must be representable; fail before anything is written.
    if (number == INT_MAX) throw std::overflow_error("check box counter");

    const std::wstring state = GetProperty(hInstall, kState);
    const std::wstring label = GetProperty(hInstall, kLabel);
    const std::wstring disable = GetProperty(hInstall, kDisable);
    // The suffix is the counter text as read, so "0x2" names copies "...0x2".
    SetProperty(hInstall, kState + suffix, state);
    SetProperty(hInstall, kLabel + suffix, label);
    SetProperty(hInstall, kDisable + suffix, disable);

    SetProperty(hInstall, GetProperty(hInstall, kRecordName), kState + suffix);
    SetProperty(hInstall, kCounter, IntToString(number + 1));
    return ERROR_SUCCESS;
  });
}

UINT __stdcall loadCheckboxValue(MSIHANDLE hInstall) {
  return RunCustomAction([hInstall]() -> UINT {
    const std::wstring recordName = GetProperty(hInstall, kRecordName);
    const std::wstring stateName = GetProperty(hInstall, recordName);
    const std::wstring state = GetProperty(hInstall, stateName);
    SetProperty(hInstall, GetProperty(hInstall, kTarget), state);
    return ERROR_SUCCESS;
  });
}
