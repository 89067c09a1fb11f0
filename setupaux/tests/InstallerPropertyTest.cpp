#include "InstallerProperty.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "InstallerSession.h"
#include "TestProducts.h"

using setupaux::GetProductProperty;
using setupaux::GetProperty;
using setupaux::SetProperty;

namespace {

TEST(InstallerProperty, ReadsAndWritesSessionProperties) {
  CInstallerSession session;
  ASSERT_TRUE(session.IsOpen());
  EXPECT_EQ(L"", GetProperty(session.Handle(), L"NEVER_SET"));
  EXPECT_EQ(L"Vantrel Dulon 6", GetProperty(session.Handle(), L"ProductName"));

  // Longer than any fixed buffer a reader might guess.
  const std::wstring longValue(5000, L'v');
  SetProperty(session.Handle(), L"LONG_VALUE", longValue);
  EXPECT_EQ(longValue, GetProperty(session.Handle(), L"LONG_VALUE"));

  SetProperty(session.Handle(), L"LONG_VALUE", L"");
  EXPECT_EQ(L"", session.Get(L"LONG_VALUE"));
}

TEST(InstallerProperty, RefusalsRaiseTheirTexts) {
  try {
    GetProperty(0, L"ProductName");
    ADD_FAILURE() << "no failure";
  } catch (const std::exception& e) {
    EXPECT_STREQ("get property", e.what());
  }
  try {
    SetProperty(0, L"FLAG", L"1");
    ADD_FAILURE() << "no failure";
  } catch (const std::exception& e) {
    EXPECT_STREQ("set property", e.what());
  }
}

TEST(InstallerProperty, ProductPropertyOfInstalledProduct) {
  ASSERT_TRUE(EnsureProductInstalled(testproducts::kDulon5));
  EXPECT_EQ(L"Vantrel Dulon 5",
            GetProductProperty(testproducts::kDulon5.code, L"InstalledProductName"));
  EXPECT_EQ(L"5", GetProductProperty(testproducts::kDulon5.code, L"VersionMajor"));
  EXPECT_EQ(L"2", GetProductProperty(testproducts::kDulon5.code, L"VersionMinor"));
  EXPECT_EQ(L"", GetProductProperty(testproducts::kDulon5.code, L"NoSuchAttribute"));
}

TEST(InstallerProperty, ProductPropertyNeverFails) {
  EXPECT_EQ(L"", GetProductProperty(testproducts::kNotInstalledCode, L"InstalledProductName"));
  EXPECT_EQ(L"", GetProductProperty(L"not a product code", L"VersionMajor"));
  EXPECT_EQ(L"", GetProductProperty(L"", L""));
}

}  // namespace
