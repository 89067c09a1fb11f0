#include <windows.h>
#include <msi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "DemoFacts.h"
#include "DemoPaths.h"
#include "LaunchRecords.h"
#include "Registry.h"
#include "TempDir.h"

namespace demo {

namespace {

std::wstring ProductInfo(const wchar_t* productCode, const wchar_t* attribute) {
  wchar_t value[512] = {};
  DWORD size = 512;
  if (MsiGetProductInfoW(productCode, attribute, value, &size) != ERROR_SUCCESS) return L"?";
  return value;
}

void ReportProduct(const wchar_t* productCode, const wchar_t* name) {
  if (MsiQueryProductStateW(productCode) != INSTALLSTATE_DEFAULT) {
    std::printf("  %ls: not installed\n", name);
    return;
  }
  std::printf("  %ls: installed, version %ls\n", name,
              ProductInfo(productCode, INSTALLPROPERTY_VERSIONSTRING).c_str());
}

void ReportFiles(const std::wstring& folder) {
  WIN32_FIND_DATAW found = {};
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      std::printf("      %-12ls %lu bytes\n", found.cFileName, found.nFileSizeLow);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

std::wstring Unquoted(const std::wstring& text) {
  return text.size() >= 2 && text.front() == L'"' ? text.substr(1, text.size() - 2) : text;
}

void ReportSetupRecord() {
  std::printf("Properties the actions set (recorded by the package in HKCU\\%ls):\n",
              kSetupRecordKey);
  const wchar_t* names[][2] = {
      {L"IsX64Windows", L"isX64Windows -> IS_X64_WINDOWS"},
      {L"FlashVersionValid", L"flashVersionValid -> FLASHVERSIONVALID"},
      {L"ReplacedProduct", L"upgrade search -> VANTREL_OLD_DULON"},
      {L"LaunchCheckbox", L"addCheckbox -> LAUNCH_RECORD"},
      {L"LaunchCheckboxText", L"addCheckbox -> WIXUI_EXITDIALOGOPTIONALCHECKBOXTEXT1"},
      {L"AdminUser", L"installer -> AdminUser"},
      {L"Privileged", L"installer -> Privileged"},
  };
  for (const auto& row : names)
    std::printf("  %-52ls %ls\n", row[1],
                ReadValueText(HKEY_CURRENT_USER, kSetupRecordKey, row[0]).c_str());
}

void ReportAddins() {
  std::printf("fixConnect (LoadBehavior, 3 = load at start-up):\n");
  for (const wchar_t* name : kAddinNames) {
    const std::wstring key = std::wstring(kAddinsKey) + name;
    std::printf("  HKCU\\...\\%-26ls %ls\n", name,
                ReadValueText(HKEY_CURRENT_USER, key, L"LoadBehavior").c_str());
    std::printf(
        "  HKU\\%ls\\...\\%-20ls %ls\n", kOtherProfile, name,
        ReadValueText(HKEY_USERS, std::wstring(kOtherProfile) + L"\\" + key, L"LoadBehavior")
            .c_str());
  }
}

void ReportDesktopIni() {
  const std::wstring path = CommonDesktopIni();
  const DWORD attributes = GetFileAttributesW(path.c_str());
  std::printf("removeDesktopIniReadOnlyAttribute:\n  %ls:", path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    std::printf(" missing\n");
    return;
  }
  std::printf("%s%s%s\n", attributes & FILE_ATTRIBUTE_READONLY ? " read-only" : " writable",
              attributes & FILE_ATTRIBUTE_HIDDEN ? ", hidden" : "",
              attributes & FILE_ATTRIBUTE_SYSTEM ? ", system" : "");
}

// The repairs above reach further here than the same per-user run would for a
// standard user on Windows; the report says so rather than let them pass for
// the usual case.
void ReportRightsNote() {
  std::printf(
      "  (On Windows, HKU\\%ls and the common desktop change only when the installation\n"
      "  was started with administrator rights. Wine's installer counts every\n"
      "  installation as an administrator's: see AdminUser and Privileged above.)\n",
      kOtherProfile);
}

void ReportThankYouPage() {
  std::printf("openTrialUrl:\n  TrialUrlOpened marker: %ls\n",
              ReadValueText(HKEY_CURRENT_USER, kProductKey, L"TrialUrlOpened").c_str());
  const std::vector<std::wstring> urls =
      RecordedLaunches(ProgramFolder() + L"\\" + kOpenedUrlsFolder);
  for (const std::wstring& url : urls)
    std::printf("  thank-you address opened: %ls\n", url.c_str());
  if (urls.empty()) std::printf("  thank-you address opened: none\n");
}

}  // namespace

int Report() {
  std::printf("Installed products:\n");
  ReportProduct(kDulon6ProductCode, L"Vantrel Dulon 6");
  ReportProduct(kDulon5ProductCode, L"Vantrel Dulon 5 (the older version)");
  const std::wstring folder =
      Unquoted(ReadValueText(HKEY_CURRENT_USER, kProductKey, L"InstallDir"));
  if (folder != L"<absent>") {
    std::printf("  files in %ls:\n", folder.c_str());
    ReportFiles(folder);
  }
  ReportSetupRecord();
  ReportAddins();
  ReportDesktopIni();
  ReportRightsNote();
  ReportThankYouPage();
  std::fflush(stdout);
  return MsiQueryProductStateW(kDulon6ProductCode) == INSTALLSTATE_DEFAULT ? 0 : 1;
}

}  // namespace demo
