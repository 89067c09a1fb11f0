#include "download/DeletionMark.h"

namespace {

// From Windows 10 1709; the headers show them only to builds for it, and the
// program runs from Windows 7 on.
const FILE_INFO_BY_HANDLE_CLASS kDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);
const DWORD kDispositionDelete = 0x1;
const DWORD kDispositionOnClose = 0x8;
struct CDispositionInfoEx {
  DWORD flags;
};

BOOL SetOnClose(HANDLE file, bool remove) {
  // ON_CLOSE alone clears the on-close state, with DELETE it sets it.
  CDispositionInfoEx info = {kDispositionOnClose};
  if (remove) info.flags |= kDispositionDelete;
  return SetFileInformationByHandle(file, kDispositionInfoEx, &info, sizeof(info));
}

}  // namespace

// Before Windows 10 1709, and on file systems without the on-close state,
// the first call fails and the older mark stands in; Wine 8 refuses the
// first call too (ERROR_INVALID_PARAMETER) and so takes the older mark.
DeletionMark MarkForDeletion(CFileHandle& file, DeletionMark wanted) {
  if (wanted == DeletionMark::kNone) return DeletionMark::kNone;
  if (wanted == DeletionMark::kOnClose && SetOnClose(file.Get(), true))
    return DeletionMark::kOnClose;
  if (file.SetDeleteOnClose(true)) return DeletionMark::kPending;
  return DeletionMark::kNone;
}

BOOL ClearDeletionMark(CFileHandle& file, DeletionMark mark) {
  switch (mark) {
    case DeletionMark::kOnClose:
      return SetOnClose(file.Get(), false);
    case DeletionMark::kPending:
      return file.SetDeleteOnClose(false);
    case DeletionMark::kNone:
      break;
  }
  return TRUE;
}
