#pragma once

#include <string>

namespace setupaux {

// Installation language as the text of "ProductLanguage" ("1033", "1049",
// ...), compared whole. Throws std::runtime_error("unknown language").
int LanguageCodeFromProductLanguage(const std::wstring& productLanguage);

// The maker's web host for a language code. Throws
// std::runtime_error("unknown language code") outside the table.
std::wstring WebHostForLanguage(int languageCode);

// The thank-you address; the values go in unchanged, without URL encoding.
std::wstring BuildTrialUrl(const std::wstring& host, const std::wstring& product,
                           const std::wstring& version);

}  // namespace setupaux
