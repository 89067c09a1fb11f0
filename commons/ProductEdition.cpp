#include "ProductEdition.h"

#include <stdexcept>

namespace {

struct EditionRow {
  const wchar_t* name;
  const wchar_t* key;
};

const EditionRow kEditions[] = {
    {L"Olvo", L"isolvo"},         {L"Dulon", L"isdulon"},
    {L"Marrowin", L"ismarrowin"}, {L"Olvo Marrowin", L"ismarrowinolvo"},
    {L"Kelvane", L"iskelvane"},   {L"Rondix", L"isrondix"},
    {L"Hubrel", L"ishubrel"},     {L"Zirvel", L"iszirvel"},
};

struct PrefixRow {
  const wchar_t* prefix;
  ProductEdition edition;
};

// Searched in order; editions without a row are never recognised.
const PrefixRow kProductPrefixes[] = {
    {L"Vantrel Dulon", Dulon},
    {L"Vantrel Marrowin", Marrowin},
    {L"Vantrel Kelvane", Kelvane},
    {L"Vantrel Rondix", Rondix},
};

const EditionRow* FindEdition(ProductEdition edition) {
  // Compared as unsigned so that negative values fall outside too.
  const auto index = static_cast<std::uint32_t>(edition);
  if (index >= sizeof(kEditions) / sizeof(kEditions[0])) return nullptr;
  return &kEditions[index];
}

}  // namespace

const wchar_t* EditionName(ProductEdition edition) {
  const EditionRow* row = FindEdition(edition);
  return row ? row->name : L"";
}

const wchar_t* EditionKey(ProductEdition edition) {
  const EditionRow* row = FindEdition(edition);
  return row ? row->key : L"";
}

std::wstring EditionDisplayName(ProductEdition edition) {
  if (edition == OlvoMarrowin) return EditionName(edition);
  if (edition == Rondix) return L"Rondix";
  return std::wstring(L"Vantrel ") + EditionName(edition);
}

std::wstring EditionVersionName(ProductEdition edition, const std::wstring& version) {
  return EditionDisplayName(edition) + L" " + version;
}

std::wstring EditionRegistryKey(ProductEdition edition, const std::wstring& version) {
  return L"Software\\Vantrel Solutions\\" + EditionVersionName(edition, version);
}

ProductEdition EditionFromProductName(const std::wstring& productName) {
  for (const PrefixRow& row : kProductPrefixes) {
    if (productName.compare(0, std::wstring::traits_type::length(row.prefix), row.prefix) == 0)
      return row.edition;
  }
  throw std::runtime_error("unknown product");
}
