#pragma once

#include <windows.h>

// Owns one file handle; closed is INVALID_HANDLE_VALUE, as CreateFileW
// reports failure.
class CFileHandle {
 public:
  CFileHandle() = default;
  ~CFileHandle() { Close(); }
  CFileHandle(const CFileHandle&) = delete;
  CFileHandle& operator=(const CFileHandle&) = delete;

  bool Create(const wchar_t* path, DWORD access, DWORD share, DWORD disposition, DWORD attributes) {
    Close();
    m_handle = CreateFileW(path, access, share, nullptr, disposition, attributes, nullptr);
    return m_handle != INVALID_HANDLE_VALUE;
  }
  BOOL Close() {
    if (m_handle == INVALID_HANDLE_VALUE) return TRUE;
    const BOOL closed = CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    return closed;
  }
  // An empty write succeeds without touching the file.
  BOOL Write(const void* data, DWORD size, DWORD& written) {
    written = 0;
    if (size == 0) return TRUE;
    return WriteFile(m_handle, data, size, &written, nullptr);
  }
  HANDLE Get() const { return m_handle; }

 private:
  HANDLE m_handle = INVALID_HANDLE_VALUE;
};
