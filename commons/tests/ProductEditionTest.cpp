#include "ProductEdition.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct EditionCase {
  int value;
  const wchar_t* name;
  const wchar_t* key;
  const wchar_t* displayName;
};

const EditionCase kEditionCases[] = {
    {0, L"Olvo", L"isolvo", L"Vantrel Olvo"},
    {1, L"Dulon", L"isdulon", L"Vantrel Dulon"},
    {2, L"Marrowin", L"ismarrowin", L"Vantrel Marrowin"},
    {3, L"Olvo Marrowin", L"ismarrowinolvo", L"Olvo Marrowin"},
    {4, L"Kelvane", L"iskelvane", L"Vantrel Kelvane"},
    {5, L"Rondix", L"isrondix", L"Rondix"},
    {6, L"Hubrel", L"ishubrel", L"Vantrel Hubrel"},
    {7, L"Zirvel", L"iszirvel", L"Vantrel Zirvel"},
    {8, L"", L"", L"Vantrel "},
    {-1, L"", L"", L"Vantrel "},
    {0x7FFFFFFF, L"", L"", L"Vantrel "},
};

TEST(ProductEdition, TableForEveryValue) {
  for (const EditionCase& c : kEditionCases) {
    const auto edition = static_cast<ProductEdition>(c.value);
    SCOPED_TRACE(c.value);
    EXPECT_STREQ(c.name, EditionName(edition));
    EXPECT_STREQ(c.key, EditionKey(edition));
    EXPECT_EQ(c.displayName, EditionDisplayName(edition));
  }
}

TEST(ProductEdition, ComposedNames) {
  EXPECT_EQ(L"Vantrel Dulon 6", EditionVersionName(Dulon, L"6"));
  EXPECT_EQ(L"Software\\Vantrel Solutions\\Vantrel Dulon 6", EditionRegistryKey(Dulon, L"6"));
  EXPECT_EQ(L"Software\\Vantrel Solutions\\Rondix 6", EditionRegistryKey(Rondix, L"6"));
  EXPECT_EQ(L"Software\\Vantrel Solutions\\Vantrel  6",
            EditionRegistryKey(static_cast<ProductEdition>(9), L"6"));
}

TEST(ProductEdition, RecognisedFromProductName) {
  const struct {
    const wchar_t* productName;
    ProductEdition edition;
  } cases[] = {
      {L"Vantrel Dulon 6.1", Dulon},     {L"Vantrel Dulon", Dulon},
      {L"Vantrel Marrowin 6", Marrowin}, {L"Vantrel Kelvane", Kelvane},
      {L"Vantrel Rondix 6", Rondix},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.edition, EditionFromProductName(c.productName)) << c.productName;
  }
}

TEST(ProductEdition, UnknownProductNameThrows) {
  const wchar_t* names[] = {
      L"vantrel dulon 6", L"VANTREL DULON", L"Vantrel Olvo 6", L"Vantrel Hubrel",
      L"Rondix 6",        L"Vantrel",       L"Vantrel Dulo",   L""};
  for (const wchar_t* name : names) {
    try {
      EditionFromProductName(name);
      ADD_FAILURE() << "recognised: " << name;
    } catch (const std::exception& e) {
      EXPECT_STREQ("unknown product", e.what()) << name;
    }
  }
}

}  // namespace
