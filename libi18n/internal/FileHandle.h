#pragma once

#include <windows.h>

namespace libi18n {

// Owns a file handle from CreateFileW and closes it on destruction.
class CFileHandle {
 public:
  explicit CFileHandle(HANDLE handle) : m_handle(handle) {}
  ~CFileHandle() {
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
  }
  CFileHandle(const CFileHandle&) = delete;
  CFileHandle& operator=(const CFileHandle&) = delete;

  HANDLE Get() const { return m_handle; }

 private:
  HANDLE m_handle;
};

}  // namespace libi18n
