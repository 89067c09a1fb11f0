#include <windows.h>
#include <msi.h>

#include <gtest/gtest.h>

#include <string>

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

// The package runs addCheckbox and loadCheckboxValue from its execute
// sequence and writes the properties they set into HKCU.
TEST(Install, CheckboxActionsDuringRealInstallation) {
  const wchar_t results[] = L"Software\\Vantrel Test Products\\Checkbox";
  // A run before left the probe installed: remove it, so that it installs afresh.
  if (MsiQueryProductStateW(testproducts::kCheckboxProductCode) == INSTALLSTATE_DEFAULT) {
    ASSERT_EQ(0u, RunMsiexec(std::wstring(L"/x ") + testproducts::kCheckboxProductCode + L" /qn"));
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, results);

  const std::wstring package = TestFolder() + testproducts::kCheckboxPackage;
  ASSERT_EQ(0u, RunMsiexec(L"/i \"" + package + L"\" /qn"));

  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, results, 0, KEY_READ, &key));
  EXPECT_EQ(L"WIXUI_EXITDIALOGOPTIONALCHECKBOX1", ReadText(key, L"Record"));
  EXPECT_EQ(L"1", ReadText(key, L"State"));
  EXPECT_EQ(L"2", ReadText(key, L"Counter"));
  EXPECT_EQ(L"Launch Vantrel Dulon", ReadText(key, L"Label1"));
  RegCloseKey(key);
}

}  // namespace
