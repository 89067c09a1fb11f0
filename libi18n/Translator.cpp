#include "Translator.h"

#include "LanguageSimpleFile.h"

namespace libi18n {

namespace {

// Constant-initialised, so it is empty before any constructor runs; static
// destruction releases the installed translator.
boost::shared_ptr<CMessageTranslator> g_translator;

}  // namespace

boost::shared_ptr<CMessageTranslator> CreateTranslator(const std::wstring& path) {
  boost::shared_ptr<CMessageTranslator> translator(new CMessageTranslator);
  if (!translator->File().LoadFile(path)) return boost::shared_ptr<CMessageTranslator>();
  return translator;
}

void SetTranslator(boost::shared_ptr<CMessageTranslator> translator) {
  // The old translator is released only after the new one is in place.
  g_translator.swap(translator);
}

std::wstring GetTranslation(const std::wstring& id) {
  return g_translator ? g_translator->GetMessageText(id) : std::wstring();
}

bool HasTranslation(const std::wstring& id) { return g_translator && g_translator->HasMessage(id); }

}  // namespace libi18n
