#include <windows.h>
#include <msi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordedBrowser.h"
#include "SetupAuxLibrary.h"
#include "TestProducts.h"

namespace {

// Runs "msiexec" as an installer author's command line would; its exit code.
DWORD RunMsiexec(const std::wstring& arguments) {
  std::wstring command = L"msiexec.exe " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return GetLastError();
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exitCode;
}

std::wstring ReadText(HKEY key, const wchar_t* name) {
  wchar_t buffer[512] = {};
  DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
  if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &bytes) !=
      ERROR_SUCCESS)
    return L"<absent>";
  return buffer;
}

// Removes what an earlier run left, so that the package installs afresh.
void Uninstall(const wchar_t* productCode) {
  if (MsiQueryProductStateW(productCode) == INSTALLSTATE_DEFAULT) {
    ASSERT_EQ(0u, RunMsiexec(std::wstring(L"/x ") + productCode + L" /qn"));
  }
}

// The package runs addCheckbox and loadCheckboxValue from its execute
// sequence and writes the properties they set into HKCU.
TEST(Install, CheckboxActionsDuringRealInstallation) {
  const wchar_t results[] = L"Software\\Vantrel Test Products\\Checkbox";
  ASSERT_NO_FATAL_FAILURE(Uninstall(testproducts::kCheckboxProductCode));
  RegDeleteTreeW(HKEY_CURRENT_USER, results);

  const std::wstring package = ProgramFolder() + L"\\" + testproducts::kCheckboxPackage;
  ASSERT_EQ(0u, RunMsiexec(L"/i \"" + package + L"\" /qn"));

  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, results, 0, KEY_READ, &key));
  EXPECT_EQ(L"WIXUI_EXITDIALOGOPTIONALCHECKBOX1", ReadText(key, L"Record"));
  EXPECT_EQ(L"1", ReadText(key, L"State"));
  EXPECT_EQ(L"2", ReadText(key, L"Counter"));
  EXPECT_EQ(L"Launch Vantrel Dulon", ReadText(key, L"Label1"));
  RegCloseKey(key);
}

// The package runs isX64Windows before writing its registry values and
// openTrialUrl after the installation.
TEST(Install, EnvironmentAndTrialPageDuringRealInstallation) {
  const wchar_t results[] = L"Software\\Vantrel Test Products\\Trial";
  const wchar_t marker[] = L"Software\\Vantrel Solutions\\Vantrel Kelvane 6";
  ASSERT_NO_FATAL_FAILURE(Uninstall(testproducts::kTrialProductCode));
  RegDeleteTreeW(HKEY_CURRENT_USER, results);
  RegDeleteTreeW(HKEY_CURRENT_USER, marker);

  CRecordedBrowser browser;
  const std::wstring package = ProgramFolder() + L"\\" + testproducts::kTrialPackage;
  ASSERT_EQ(0u, RunMsiexec(L"/i \"" + package + L"\" /qn"));

  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, results, 0, KEY_READ, &key));
  const bool x64 = GetFileAttributesW(L"C:\\windows\\syswow64") != INVALID_FILE_ATTRIBUTES;
  EXPECT_EQ(x64 ? L"1" : L"", ReadText(key, L"IsX64"));
  RegCloseKey(key);

  EXPECT_EQ(
      std::vector<std::wstring>{L"http://www.vantrel.ru/go/thanks-for-trial?p=iskelvane&v=6.0.3"},
      browser.Opened());
  DWORD opened = 0;
  DWORD bytes = sizeof(opened);
  EXPECT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, marker, L"TrialUrlOpened",
                                        RRF_RT_REG_DWORD, nullptr, &opened, &bytes));
  EXPECT_EQ(1u, opened);
  RegDeleteTreeW(HKEY_CURRENT_USER, marker);
}

}  // namespace
