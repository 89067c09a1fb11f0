#include "Schema.h"

#include <windows.h>

#include "Exception.h"
#include "FileHandle.h"
#include "PathUtils.h"
#include "TempFiles.h"

namespace libi18n {

CSchema::CSchema() = default;

CSchema::~CSchema() { RemoveSavedFolder(); }

std::wstring CSchema::Save(const std::string& schema) {
  RemoveSavedFolder();
  m_folder = CreateTempFolder(L"i18n", L"", L"");
  if (m_folder.empty()) throw CException(L"create tmp folder for schema");

  const std::wstring path = EnsureTrailingSeparator(m_folder) + L"schema.xsd";
  CFileHandle file;
  const DWORD length = static_cast<DWORD>(schema.size());
  DWORD written = 0;
  if (!file.Create(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL) ||
      !file.Write(schema.data(), length, written) || written != length)
    throw CException(L"save schema to file");
  return path;
}

void CSchema::RemoveSavedFolder() {
  if (m_folder.empty()) return;
  RemoveFolder(m_folder, true);
  m_folder.clear();
}

}  // namespace libi18n
