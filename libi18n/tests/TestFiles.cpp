#include "TestFiles.h"

#include <windows.h>

CTempOverride::CTempOverride(const std::wstring& folder) {
  wchar_t old[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"TMP", old, MAX_PATH);
  m_hadOld = length > 0 && length < MAX_PATH;
  if (m_hadOld) m_old = old;
  SetEnvironmentVariableW(L"TMP", folder.c_str());
}

CTempOverride::~CTempOverride() {
  SetEnvironmentVariableW(L"TMP", m_hadOld ? m_old.c_str() : nullptr);
}

std::wstring WriteFixture(const CTempDir& dir, const std::wstring& name, const std::string& bytes) {
  const std::wstring path = dir / name;
  WriteFile(path, bytes);
  return path;
}

std::string LanguageFile(const std::string& messages) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<language>\n<messages>\n" + messages +
         "\n</messages>\n</language>\n";
}

bool HasSchemaFolder(const std::wstring& tempFolder) {
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((tempFolder + L"\\i18n*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return true;
}
