#include "MessageTranslator.h"

#include "LanguageSimpleFile.h"

namespace libi18n {

CMessageTranslator::CMessageTranslator() : m_file(new CLanguageSimpleFile) {}

CMessageTranslator::~CMessageTranslator() = default;

bool CMessageTranslator::HasMessage(const std::wstring& id) const { return m_file->HasMessage(id); }

std::wstring CMessageTranslator::GetMessageText(const std::wstring& id) const {
  return m_file->GetMessageText(id);
}

}  // namespace libi18n
