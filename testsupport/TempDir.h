#pragma once

#include <set>
#include <string>

// A fresh scratch folder in the temporary folder, removed with its contents
// when the object goes away. Built without the code under test.
class CTempDir {
 public:
  CTempDir();
  ~CTempDir();
  CTempDir(const CTempDir&) = delete;
  CTempDir& operator=(const CTempDir&) = delete;

  const std::wstring& Path() const { return m_path; }  // no trailing separator
  std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

 private:
  std::wstring m_path;
};

// Points TMP, and so GetTempPathW, at another folder while the object lives,
// then gives TMP back the value it had, or none.
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

// The running program's folder, without a trailing separator.
std::wstring ProgramFolder();
std::wstring TempPath();                                             // ends with a separator
void WriteFile(const std::wstring& path, const std::string& bytes);  // creates or replaces
// A file's bytes, empty when it cannot be read. It shares every access, so
// that it reads a file another holder keeps open for writing or deletion.
std::string ReadBytes(const std::wstring& path);
bool IsDirectory(const std::wstring& path);
// Names of the entries of the temporary folder that match a wildcard pattern.
std::set<std::wstring> TempFilesMatching(const std::wstring& pattern);
