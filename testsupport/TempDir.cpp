#include "TempDir.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return self.substr(0, self.find_last_of(L"\\/"));
}

std::wstring TempPath() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) throw std::runtime_error("GetTempPathW failed");
  return std::wstring(buffer, length);
}

CTempOverride::CTempOverride(const std::wstring& folder) {
  const DWORD length = GetEnvironmentVariableW(L"TMP", nullptr, 0);
  m_hadOld = length > 0;
  if (m_hadOld) {
    m_old.resize(length);
    m_old.resize(GetEnvironmentVariableW(L"TMP", &m_old[0], length));
  }
  SetEnvironmentVariableW(L"TMP", folder.c_str());
}

CTempOverride::~CTempOverride() {
  SetEnvironmentVariableW(L"TMP", m_hadOld ? m_old.c_str() : nullptr);
}

CTempDir::CTempDir() {
  static unsigned counter = 0;
  for (;;) {
    m_path = TempPath() + L"scratch_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
             std::to_wstring(++counter);
    if (CreateDirectoryW(m_path.c_str(), nullptr)) return;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("CreateDirectoryW failed");
  }
}

CTempDir::~CTempDir() {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(m_path, ignored))
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ignored);
  // A program a test started (through the shell, say) may still be using the
  // folder for a moment.
  for (int attempt = 0; attempt < 50; ++attempt) {
    std::filesystem::remove_all(m_path, ignored);
    if (!std::filesystem::exists(m_path, ignored)) return;
    Sleep(100);
  }
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write test file");
}

std::string ReadBytes(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

std::set<std::wstring> TempFilesMatching(const std::wstring& pattern) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((TempPath() + pattern).c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.insert(entry.cFileName);
  while (FindNextFileW(find, &entry));
  FindClose(find);
  return names;
}

bool IsDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
