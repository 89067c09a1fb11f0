#pragma once

#include <string>

namespace libi18n {

// A schema text written to "schema.xsd" in a temporary folder of its own, so
// that the XML parser can validate against it. The folder goes with the object.
class CSchema {
 public:
  CSchema();
  virtual ~CSchema();
  CSchema(const CSchema&) = delete;
  CSchema& operator=(const CSchema&) = delete;

  // Writes the bytes unchanged and returns the file's full path; a second call
  // first removes the folder of the first. Throws CException.
  std::wstring Save(const std::string& schema);

 private:
  void RemoveSavedFolder();

  std::wstring m_folder;
};

}  // namespace libi18n
