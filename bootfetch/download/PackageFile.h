#pragma once

#include <windows.h>

#include <string>

#include "FileHandle.h"
#include "download/DeletionMark.h"

// The package file of a download, held open from the moment its name is
// reserved until the shell has been asked to open it: written through the
// handle that reserved the name, then, once complete, read through one that
// replaces it. Both are shared for reading only, so no other program can
// write, rename or replace it meanwhile, and it is marked for deletion until
// it is complete, so that a program ended from outside leaves no partial
// package behind. Where a file-system filter refuses writes through a marked
// file, the caller asks for an unmarked one and deletes it itself on failure.
class CPackageFile {
 public:
  CPackageFile() = default;
  CPackageFile(const CPackageFile&) = delete;
  CPackageFile& operator=(const CPackageFile&) = delete;

  // A new file in the temporary folder, marked the wanted way or, failing
  // that, the older one; false when none could be made.
  bool Create(DeletionMark wanted = DeletionMark::kOnClose);
  // Takes over another attempt's file, which is left empty.
  void TakeFrom(CPackageFile& other);

  bool IsOpen() const { return m_file.IsCreated(); }
  const std::wstring& Path() const { return m_path; }
  // Whether the file goes by itself when closed, until kept.
  bool IsMarked() const { return m_mark != DeletionMark::kNone; }
  HANDLE Handle() const { return m_file.Get(); }

  BOOL Write(const void* data, DWORD size, DWORD& written) {
    return m_file.Write(data, size, written);
  }
  // Moves to the offset and cuts the file there.
  BOOL Truncate(LONGLONG offset) { return m_file.Truncate(offset); }
  // The package is complete and checked: it stays once closed.
  bool Keep();
  // Gives up writing: the file is held from now on for reading only, shared
  // for reading, which the installer's deny-write open can share. Only a
  // process of this user may act between the two handles. False when it
  // could not be opened again, and the file is then gone.
  bool ReopenForReading();
  // Closes the file and deletes it, complete or not.
  void Discard();
  // Closes the file, which stays only if it was kept.
  void Release() { m_file.Close(); }

 private:
  CFileHandle m_file;
  std::wstring m_path;
  DeletionMark m_mark = DeletionMark::kNone;
};
