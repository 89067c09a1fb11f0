#include <windows.h>
#include <msi.h>

#include <cstdio>
#include <fstream>

#include "Commands.h"
#include "DemoFacts.h"
#include "DemoPaths.h"
#include "LaunchRecords.h"
#include "Registry.h"
#include "TempDir.h"

namespace demo {

namespace {

bool IsInstalled(const wchar_t* productCode) {
  return MsiQueryProductStateW(productCode) == INSTALLSTATE_DEFAULT;
}

void ResetProducts(const std::wstring& olderPackage) {
  MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
  if (IsInstalled(kDulon6ProductCode)) {
    const UINT status =
        MsiConfigureProductW(kDulon6ProductCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
    std::printf("  removed Vantrel Dulon 6 of an earlier run: %u\n", status);
  }
  // The marker would keep openTrialUrl from opening the page again.
  RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey);
  if (!IsInstalled(kDulon5ProductCode)) {
    const UINT status = MsiInstallProductW(olderPackage.c_str(), L"");
    std::printf("  installed the older Vantrel Dulon 5: %u\n", status);
  }
}

// A crashed add-in is switched off by Office with LoadBehavior 2; here for
// the installing user (2003 add-in) and another profile (both add-ins).
void DisableAddins() {
  HKEY users = nullptr;
  RegOpenKeyExW(HKEY_USERS, kOtherProfile, 0, KEY_ALL_ACCESS, &users);
  for (const wchar_t* name : kAddinNames) {
    const std::wstring key = std::wstring(kAddinsKey) + name;
    WriteDword(users, key, L"LoadBehavior", 2);
    std::printf("  HKU\\%ls\\...\\%ls LoadBehavior = 2\n", kOtherProfile, name);
  }
  RegCloseKey(users);
  const std::wstring key = std::wstring(kAddinsKey) + kAddinNames[1];
  WriteDword(HKEY_CURRENT_USER, key, L"LoadBehavior", 2);
  std::printf("  HKCU\\...\\%ls LoadBehavior = 2\n", kAddinNames[1]);
}

void MakeReadOnlyDesktopIni() {
  const std::wstring path = CommonDesktopIni();
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::ofstream(path.c_str(), std::ios::binary) << "[.ShellClassInfo]\r\n";
  const DWORD attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  const bool set = SetFileAttributesW(path.c_str(), attributes) != FALSE;
  std::printf("  %ls: read-only, hidden, system (%s)\n", path.c_str(), set ? "set" : "FAILED");
}

// Nothing leaves the machine: web addresses go to RecordUrl.
void RecordWebAddresses() {
  const std::wstring records = ProgramFolder() + L"\\" + kOpenedUrlsFolder;
  WriteString(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", nullptr,
              LaunchRecorderCommand(records));
  DeleteFileW(LaunchLogPath(records).c_str());
  std::printf("  http addresses are recorded in %ls\n", LaunchLogPath(kOpenedUrlsFolder).c_str());
}

void UseVirtualDesktop(bool enable) {
  const wchar_t explorer[] = L"Software\\Wine\\Explorer";
  if (enable) {
    WriteString(HKEY_CURRENT_USER, explorer, L"Desktop", L"Default");
    WriteString(HKEY_CURRENT_USER, std::wstring(explorer) + L"\\Desktops", L"Default", L"1024x768");
  } else {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, explorer, L"Desktop");
  }
}

}  // namespace

int Prepare(const std::wstring& olderPackage, bool virtualDesktop) {
  std::printf("Preparing the demo prefix:\n");
  ResetProducts(olderPackage);
  DisableAddins();
  MakeReadOnlyDesktopIni();
  RecordWebAddresses();
  UseVirtualDesktop(virtualDesktop);
  std::fflush(stdout);
  return IsInstalled(kDulon5ProductCode) && !IsInstalled(kDulon6ProductCode) ? 0 : 1;
}

}  // namespace demo
