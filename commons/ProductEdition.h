#pragma once

#include <cstdint>
#include <string>

// Editions of the product family. Stored and passed as a 32-bit integer;
// any integer may reach the functions below, values outside 0..7 are unknown.
enum ProductEdition : std::int32_t {
  Olvo = 0,
  Dulon = 1,
  Marrowin = 2,
  OlvoMarrowin = 3,
  Kelvane = 4,
  Rondix = 5,
  Hubrel = 6,
  Zirvel = 7,
};

// Constant texts owned by the module; empty for an unknown edition.
const wchar_t* EditionName(ProductEdition edition);
const wchar_t* EditionKey(ProductEdition edition);

std::wstring EditionDisplayName(ProductEdition edition);
std::wstring EditionVersionName(ProductEdition edition, const std::wstring& version);
// Key path below a registry root chosen by the caller.
std::wstring EditionRegistryKey(ProductEdition edition, const std::wstring& version);

// Throws std::runtime_error("unknown product") when no known prefix matches.
ProductEdition EditionFromProductName(const std::wstring& productName);
