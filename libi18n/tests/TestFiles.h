#pragma once

#include <string>

#include "TempDir.h"

// Points TMP, and so GetTempPathW, at another folder while the object lives.
class CTempOverride {
 public:
  explicit CTempOverride(const std::wstring& folder);
  ~CTempOverride();
  CTempOverride(const CTempOverride&) = delete;
  CTempOverride& operator=(const CTempOverride&) = delete;

 private:
  bool m_hadOld = false;
  std::wstring m_old;
};

// Writes a language file into the folder and returns its path.
std::wstring WriteFixture(const CTempDir& dir, const std::wstring& name, const std::string& bytes);

// Wraps message elements into a complete language file.
std::string LanguageFile(const std::string& messages);

// Whether the temporary folder holds an "i18n" folder or a numbered one.
bool HasSchemaFolder(const std::wstring& tempFolder);
