#pragma once

#include <cstdint>
#include <string>

namespace setupaux {

// Strict conversion of a property text: decimal, or hexadecimal after "0x"
// or "#"; out-of-range values are clamped. Throws std::runtime_error for an
// empty text or for any character left after the number.
std::int32_t ToNumber(const std::wstring& text);

}  // namespace setupaux
