#pragma once

#include <windows.h>

#include "Handle.h"

// Owns one file handle; closed is INVALID_HANDLE_VALUE.
class CFileHandle : public CHandleBase<CKernelHandleTraits<-1>> {
 public:
  bool Create(const wchar_t* path, DWORD access, DWORD share, DWORD disposition, DWORD attributes) {
    Close();
    m_handle = CreateFileW(path, access, share, nullptr, disposition, attributes, nullptr);
    return m_handle != INVALID_HANDLE_VALUE;
  }
  // An empty write succeeds without touching the file.
  BOOL Write(const void* data, DWORD size, DWORD& written) {
    written = 0;
    if (size == 0) return TRUE;
    return WriteFile(m_handle, data, size, &written, nullptr);
  }
  BOOL Read(void* data, DWORD size, DWORD& read) {
    return ReadFile(m_handle, data, size, &read, nullptr);
  }
  BOOL Seek(LONGLONG offset) {
    LARGE_INTEGER position;
    position.QuadPart = offset;
    return SetFilePointerEx(m_handle, position, nullptr, FILE_BEGIN);
  }
  // Moves to the offset and ends the file there.
  BOOL Truncate(LONGLONG offset) { return Seek(offset) && SetEndOfFile(m_handle); }
  // Whether the file goes when its last handle closes; needs DELETE access.
  BOOL SetDeleteOnClose(bool remove) {
    FILE_DISPOSITION_INFO info = {remove};
    return SetFileInformationByHandle(m_handle, FileDispositionInfo, &info, sizeof(info));
  }
};
