#include "RecordedBrowser.h"

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "SetupAuxLibrary.h"

namespace {

const wchar_t kHandler[] = L"http\\shell";
const wchar_t kBackup[] = L"Software\\Vantrel Test\\http shell before the tests";

std::wstring LogPath() { return TestFolder() + L"opened-urls.txt"; }

bool RecorderRunning() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  bool running = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !running;
       more = Process32NextW(snapshot, &entry))
    running = _wcsicmp(entry.szExeFile, L"urlrecorder.exe") == 0;
  CloseHandle(snapshot);
  return running;
}

void SetDefaultValue(HKEY root, const std::wstring& path, const std::wstring& value) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                           nullptr, &key, nullptr));
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
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
  SetDefaultValue(HKEY_CLASSES_ROOT, std::wstring(kHandler) + L"\\open\\command",
                  L"\"" + TestFolder() + L"urlrecorder.exe\" \"%1\"");
  DeleteFileW(LogPath().c_str());
}

CRecordedBrowser::~CRecordedBrowser() {
  Opened();  // lets running recorders finish first
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kHandler);
  CopyTree(HKEY_CURRENT_USER, kBackup, HKEY_CLASSES_ROOT, kHandler);
  RegDeleteTreeW(HKEY_CURRENT_USER, kBackup);
  DeleteFileW(LogPath().c_str());
}

std::vector<std::wstring> CRecordedBrowser::Opened() const {
  // The shell has created a recorder's process by the time the launch returns.
  for (int i = 0; i < 600 && RecorderRunning(); ++i) Sleep(50);
  std::vector<std::wstring> opened;
  std::ifstream log(std::filesystem::path(LogPath()), std::ios::binary);
  std::string line;
  while (std::getline(log, line)) {
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, line.c_str(), -1, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, line.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.pop_back();
    opened.push_back(wide);
  }
  return opened;
}
