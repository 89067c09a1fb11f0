#include "ui/CTranslator.h"

#include "Translator.h"

bool CTranslator::CanTranslate(std::wstring text) const { return libi18n::HasTranslation(text); }

std::wstring CTranslator::Translate(std::wstring text) const {
  return libi18n::GetTranslation(text);
}
