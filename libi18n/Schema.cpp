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
  const CFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) throw CException(L"save schema to file");
  if (!schema.empty()) {
    const DWORD length = static_cast<DWORD>(schema.size());
    DWORD written = 0;
    if (!WriteFile(file.Get(), schema.data(), length, &written, nullptr) || written != length)
      throw CException(L"save schema to file");
  }
  return path;
}

void CSchema::RemoveSavedFolder() {
  if (m_folder.empty()) return;
  RemoveFolder(m_folder, true);
  m_folder.clear();
}

}  // namespace libi18n
