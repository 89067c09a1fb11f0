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

BOOL SetPending(HANDLE file, bool remove) {
  FILE_DISPOSITION_INFO info = {remove};
  return SetFileInformationByHandle(file, FileDispositionInfo, &info, sizeof(info));
}

}  // namespace

// Before Windows 10 1709, and on file systems without the on-close state,
// the first call fails and the older mark stands in; Wine 8 refuses the
// first call too (ERROR_INVALID_PARAMETER) and so takes the older mark.
DeletionMark MarkForDeletion(HANDLE file, DeletionMark wanted) {
  if (wanted == DeletionMark::kNone) return DeletionMark::kNone;
  if (wanted == DeletionMark::kOnClose && SetOnClose(file, true)) return DeletionMark::kOnClose;
  if (SetPending(file, true)) return DeletionMark::kPending;
  return DeletionMark::kNone;
}

BOOL ClearDeletionMark(HANDLE file, DeletionMark mark) {
  switch (mark) {
    case DeletionMark::kOnClose:
      return SetOnClose(file, false);
    case DeletionMark::kPending:
      return SetPending(file, false);
    case DeletionMark::kNone:
      break;
  }
  return TRUE;
}
