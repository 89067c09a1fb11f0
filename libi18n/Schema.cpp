#include "Schema.h"

#include <windows.h>

#include "Exception.h"
#include "PathUtils.h"
#include "TempFiles.h"

namespace libi18n {

namespace {

// Closes the file on every way out of Save.
class CFileCloser {
 public:
  explicit CFileCloser(HANDLE file) : m_file(file) {}
  ~CFileCloser() {
    if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
  }
  CFileCloser(const CFileCloser&) = delete;
  CFileCloser& operator=(const CFileCloser&) = delete;

 private:
  HANDLE m_file;
};

}  // namespace

CSchema::CSchema() = default;

CSchema::~CSchema() { RemoveSavedFolder(); }

std::wstring CSchema::Save(const std::string& schema) {
  RemoveSavedFolder();
  m_folder = CreateTempFolder(L"i18n", L"", L"");
  if (m_folder.empty()) throw CException(L"create tmp folder for schema");

  const std::wstring path = EnsureTrailingSeparator(m_folder) + L"schema.xsd";
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw CException(L"save schema to file");
  CFileCloser closer(file);
  if (!schema.empty()) {
    const DWORD length = static_cast<DWORD>(schema.size());
    DWORD written = 0;
    if (!WriteFile(file, schema.data(), length, &written, nullptr) || written != length)
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
