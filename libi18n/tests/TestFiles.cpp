#include "TestFiles.h"

#include <windows.h>

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
