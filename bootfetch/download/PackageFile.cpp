#include "download/PackageFile.h"

#include "TempFiles.h"

namespace {

// DELETE: the deletion mark is set and cleared through the handle.
const DWORD kAccess = GENERIC_READ | GENERIC_WRITE | DELETE;

}  // namespace

bool CPackageFile::Create(DeletionMark wanted) {
  m_path = CreateUniqueTempFile(L"Vantrel", L".msi", kAccess, FILE_SHARE_READ, m_file);
  if (m_path.empty()) return false;
  m_mark = MarkForDeletion(m_file, wanted);
  if (m_mark != DeletionMark::kNone || wanted == DeletionMark::kNone) return true;
  // Unmarked against the caller's wish, a partial package would outlive a
  // crash: not used.
  Discard();
  return false;
}

void CPackageFile::TakeFrom(CPackageFile& other) {
  Discard();
  m_file.Attach(other.m_file.Detach());
  m_path = std::move(other.m_path);
  m_mark = other.m_mark;
  other.m_path.clear();
}

bool CPackageFile::Keep() {
  if (ClearDeletionMark(m_file, m_mark) == FALSE) return false;
  m_mark = DeletionMark::kNone;
  return true;
}

void CPackageFile::Discard() {
  if (!m_file.IsCreated()) return;
  const bool marked = m_file.SetDeleteOnClose(true) != FALSE;
  m_file.Close();
  // Without the mark, the name is the only way left; nobody else could open
  // the file while it was held.
  if (!marked) DeleteFileW(m_path.c_str());
}

bool CPackageFile::ReopenForReading() {
  m_file.Close();
  if (m_file.Create(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL))
    return true;
  DeleteFileW(m_path.c_str());
  return false;
}
