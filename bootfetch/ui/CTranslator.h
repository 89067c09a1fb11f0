#pragma once

#include <string>

#include "IDlgTranslator.h"

// Dialog texts through the process-wide message catalogue.
class CTranslator : public quenrow_commons::IDlgTranslator {
 public:
  bool CanTranslate(std::wstring text) const override;
  // Empty for a text the catalogue lacks.
  std::wstring Translate(std::wstring text) const override;
};
