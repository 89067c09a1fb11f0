#include "ToNumber.h"

#include <stdexcept>

#include "StringUtils.h"

namespace setupaux {

std::int32_t ToNumber(const std::wstring& text) {
  if (text.empty()) throw std::runtime_error("convert empty string to number");
  bool hasRest = false;
  const std::int32_t number = StringToInt(text, &hasRest);
  // A text without any digit leaves all of itself behind, so it fails here too.
  if (hasRest) throw std::runtime_error("convert string to number");
  return number;
}

}  // namespace setupaux
