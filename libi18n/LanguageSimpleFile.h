#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace libi18n {

// A message catalogue read from a simple language file: an ordered table from
// identifier to text. Identifiers are matched exactly, code unit by code unit.
class CLanguageSimpleFile {
 public:
  CLanguageSimpleFile();
  virtual ~CLanguageSimpleFile();
  CLanguageSimpleFile(const CLanguageSimpleFile&) = delete;
  CLanguageSimpleFile& operator=(const CLanguageSimpleFile&) = delete;

  // Replaces the table by the messages of the file, validating the file
  // against the schema text unless that is empty. Throws CException.
  void Load(const std::wstring& path, const std::string& schema);
  // Loads without validation; false when Load throws CException.
  bool LoadFile(const std::wstring& path);

  // Control characters in the identifier are looked up in their backslash
  // form, as the file writes them.
  bool HasMessage(const std::wstring& id) const;
  // Text with its backslash sequences turned into control characters; empty
  // when the identifier is unknown.
  std::wstring GetMessageText(const std::wstring& id) const;

  std::size_t MessageCount() const;

 private:
  class CImpl;
  std::unique_ptr<CImpl> m_impl;
};

}  // namespace libi18n
