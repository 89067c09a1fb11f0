#pragma once

#include <windows.h>

#include "FileHandle.h"

// How an unfinished file goes away when its program ends before it is done.
enum class DeletionMark {
  // Nothing marks it: whoever fails deletes it by name.
  kNone,
  // It goes when its last handle closes, and stays writable until then
  // (FILE_DISPOSITION_FLAG_ON_CLOSE, Windows 10 1709 and later).
  kOnClose,
  // Delete pending at once. Windows documents only a close after it; NTFS
  // and Wine allow writes, a file-system filter need not.
  kPending,
};

// Marks an open file, which needs DELETE access, the first way that works of
// kOnClose and kPending; kNone when neither does, or when `wanted` is kNone.
DeletionMark MarkForDeletion(CFileHandle& file, DeletionMark wanted);
// Clears the mark: the file stays once closed.
BOOL ClearDeletionMark(CFileHandle& file, DeletionMark mark);
