#pragma once

#include <windows.h>

// Points this program's import of one function at a replacement for its
// lifetime. Only for platform behaviour a test cannot produce for real.
class CImportPatch {
 public:
  CImportPatch(const char* dll, const char* function, void* replacement);
  ~CImportPatch();
  CImportPatch(const CImportPatch&) = delete;
  CImportPatch& operator=(const CImportPatch&) = delete;

  bool Applied() const { return m_slot != nullptr; }

 private:
  void Write(void* value);

  void** m_slot = nullptr;
  void* m_original = nullptr;
};
