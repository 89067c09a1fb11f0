#include "RecordedBrowser.h"

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "LaunchRecords.h"
#include "RegistryOverride.h"
#include "WaitUntil.h"

namespace {

const wchar_t kHandler[] = L"http\\shell";
const wchar_t kBackup[] = L"Software\\Vantrel Test\\http shell before the tests";

bool RecorderRunning() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  bool running = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !running;
       more = Process32NextW(snapshot, &entry))
    running = _wcsicmp(entry.szExeFile, L"launch_recorder.exe") == 0;
  CloseHandle(snapshot);
  return running;
}

void CopyTree(HKEY fromRoot, const wchar_t* from, HKEY toRoot, const wchar_t* to) {
  HKEY source = nullptr;
  HKEY target = nullptr;
  if (RegOpenKeyExW(fromRoot, from, 0, KEY_READ, &source) == ERROR_SUCCESS &&
      RegCreateKeyExW(toRoot, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) ==
          ERROR_SUCCESS)
    RegCopyTreeW(source, nullptr, target);
  if (source) RegCloseKey(source);
  if (target) RegCloseKey(target);
}

}  // namespace

CRecordedBrowser::CRecordedBrowser() {
  // A backup left by an interrupted run is the real handler: keep it.
  HKEY existing = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kBackup, 0, KEY_READ, &existing) == ERROR_SUCCESS)
    RegCloseKey(existing);
  else
    CopyTree(HKEY_CLASSES_ROOT, kHandler, HKEY_CURRENT_USER, kBackup);
  // The whole verb goes, DDE included, so the address reaches the command line.
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kHandler);
  EXPECT_TRUE(SetRegistryText(HKEY_CLASSES_ROOT, std::wstring(kHandler) + L"\\open\\command",
                              nullptr, LaunchRecorderCommand(m_records.Path())));
}

CRecordedBrowser::~CRecordedBrowser() {
  Opened();  // lets running recorders finish first
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kHandler);
  CopyTree(HKEY_CURRENT_USER, kBackup, HKEY_CLASSES_ROOT, kHandler);
  RegDeleteTreeW(HKEY_CURRENT_USER, kBackup);
}

std::vector<std::wstring> CRecordedBrowser::Opened() const {
  // The shell has created a recorder's process by the time the launch returns.
  WaitUntil([] { return !RecorderRunning(); }, 30000);
  return RecordedLaunches(m_records.Path());
}
