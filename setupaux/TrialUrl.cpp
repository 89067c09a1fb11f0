#include "TrialUrl.h"

#include <stdexcept>

#include "StringUtils.h"

namespace setupaux {

namespace {

struct LanguageRow {
  const wchar_t* identifier;
  int code;
};

const LanguageRow kLanguages[] = {
    {L"1033", 0},  // English (United States)
    {L"1049", 1},  // Russian
    {L"1036", 2},  // French (France)
    {L"1034", 3},  // Spanish (traditional sort)
    {L"1031", 4},  // German (Germany)
};

const wchar_t kInternationalHost[] = L"www.vantrel.com";
const wchar_t kRussianHost[] = L"www.vantrel.ru";
const wchar_t kFrenchHost[] = L"www.vantrel.fr";

// Indexed by language code; Spanish and German readers get the international site.
const wchar_t* const kHosts[] = {kInternationalHost, kRussianHost, kFrenchHost, kInternationalHost,
                                 kInternationalHost};

}  // namespace

int LanguageCodeFromProductLanguage(const std::wstring& productLanguage) {
  for (const LanguageRow& row : kLanguages)
    if (productLanguage == row.identifier) return row.code;
  throw std::runtime_error("unknown language");
}

std::wstring WebHostForLanguage(int languageCode) {
  if (languageCode < 0 || languageCode >= static_cast<int>(sizeof(kHosts) / sizeof(kHosts[0])))
    throw std::runtime_error("unknown language code");
  return kHosts[languageCode];
}

std::wstring BuildTrialUrl(const std::wstring& host, const std::wstring& product,
                           const std::wstring& version) {
  std::wstring url = L"http://{HOST}/go/thanks-for-trial?p={PRODUCT}&v={VERSION}";
  url = ReplaceAll(url, L"{HOST}", host);
  url = ReplaceAll(url, L"{PRODUCT}", product);
  url = ReplaceAll(url, L"{VERSION}", version);
  return url;
}

}  // namespace setupaux
