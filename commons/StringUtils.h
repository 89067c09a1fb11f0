#pragma once

#include <cstdint>
#include <string>

// Replaces every non-overlapping occurrence, left to right; the inserted
// replacement is never searched again. An empty search text changes nothing.
std::wstring ReplaceAll(const std::wstring& text, const std::wstring& search,
                        const std::wstring& replacement);

// "0x"/"0X" or "#" prefixes select base 16. Out-of-range values are clamped,
// text without digits gives 0. When hasRest is given, it tells whether
// characters remain after the number.
std::int32_t StringToInt(const std::wstring& text, bool* hasRest = nullptr);

// Decimal text of n; empty if the conversion fails.
std::wstring IntToString(std::int32_t n);
