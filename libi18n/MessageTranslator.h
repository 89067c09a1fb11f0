#pragma once

#include <memory>
#include <string>

namespace libi18n {

class CLanguageSimpleFile;

// Answers lookups from one language file.
class CMessageTranslator {
 public:
  CMessageTranslator();
  virtual ~CMessageTranslator();
  CMessageTranslator(const CMessageTranslator&) = delete;
  CMessageTranslator& operator=(const CMessageTranslator&) = delete;

  bool HasMessage(const std::wstring& id) const;
  std::wstring GetMessageText(const std::wstring& id) const;

  CLanguageSimpleFile& File() { return *m_file; }

 private:
  std::unique_ptr<CLanguageSimpleFile> m_file;
};

}  // namespace libi18n
