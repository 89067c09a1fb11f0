#include <gtest/gtest.h>

#include <vector>

#include "InstallerSession.h"
#include "MessageBoxWatcher.h"
#include "SetupAuxLibrary.h"
#include "TestProducts.h"

namespace {

using namespace testproducts;

const wchar_t* const kOldProperties[] = {
    L"VANTREL_OLD_DULON",   L"VANTREL_OLD_DULON_X64",   L"VANTREL_OLD_MARROWIN",
    L"VANTREL_OLD_KELVANE", L"VANTREL_OLD_KELVANE_X64",
};

class AskRemoveOld : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const Product& product : {kDulon5, kDulon, kDulon15, kAurel4})
      s_installed = s_installed && EnsureProductInstalled(product);
  }
  void SetUp() override {
    ASSERT_TRUE(s_installed) << "test products could not be installed";
    ASSERT_TRUE(session.IsOpen());
    session.Set(L"ProductName", L"Vantrel Dulon 6");
    session.Set(L"VANTREL_OLD_CAPTION", L"[ProductName] setup");
    session.Set(L"VANTREL_OLD_MESSAGE", L"Remove these first:\n{PRODUCTS}\nContinue?");
  }
  // Fills the five properties in order; null leaves one undefined.
  void SetOldProducts(std::vector<const wchar_t*> codes) {
    codes.resize(5, nullptr);
    for (int i = 0; i < 5; ++i)
      if (codes[i]) session.Set(kOldProperties[i], codes[i]);
  }

  static bool s_installed;
  CInstallerSession session;
};

bool AskRemoveOld::s_installed = true;

TEST_F(AskRemoveOld, ListsEntriesSortedByCodeUnits) {
  SetOldProducts({kAurel4.code, kDulon15.code, kNotInstalledCode, kDulon5.code, kDulon.code});
  CMessageBoxWatcher watcher(IDOK);
  EXPECT_EQ(0u, session.Run("askRemoveOld"));
  const auto seen = watcher.Seen();
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(L"Vantrel Dulon 6 setup", seen[0].caption);
  // "Vantrel Dulon 5" and "Vantrel Dulon" (both 5.2) give one entry; upper
  // case sorts before lower case; an unknown code gives " .".
  EXPECT_EQ(
      L"Remove these first:\n"
      L"*  .\n"
      L"* Vantrel Dulon 5.2\n"
      L"* Vantrel Dulon15 5.2\n"
      L"* Vantrel aurel 4.1\n"
      L"Continue?",
      seen[0].text);
  EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), seen[0].buttons);
  EXPECT_TRUE(seen[0].questionIcon);
}

TEST_F(AskRemoveOld, CancelIsUserExit) {
  SetOldProducts({nullptr, nullptr, nullptr, nullptr, kDulon15.code});
  session.Set(L"VANTREL_OLD_MESSAGE", L"{PRODUCTS}");
  CMessageBoxWatcher watcher(IDCANCEL);
  EXPECT_EQ(1602u, session.Run("askRemoveOld"));
  const auto seen = watcher.Seen();
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(L"* Vantrel Dulon15 5.2", seen[0].text);
}

TEST_F(AskRemoveOld, SameCodeTwiceIsOneLine) {
  SetOldProducts({kDulon5.code, kDulon5.code});
  session.Set(L"VANTREL_OLD_MESSAGE", L"{PRODUCTS}|{PRODUCTS}");
  CMessageBoxWatcher watcher(IDOK);
  EXPECT_EQ(0u, session.Run("askRemoveOld"));
  const auto seen = watcher.Seen();
  ASSERT_EQ(1u, seen.size());
  EXPECT_EQ(L"* Vantrel Dulon 5.2|* Vantrel Dulon 5.2", seen[0].text);
}

TEST_F(AskRemoveOld, NothingSetShowsNothing) {
  CMessageBoxWatcher watcher(IDCANCEL);
  EXPECT_EQ(0u, session.Run("askRemoveOld"));
  EXPECT_TRUE(watcher.Seen().empty());
}

TEST(AskRemoveOldFailures, UnreadableSessionFails) {
  CMessageBoxWatcher watcher(IDOK);
  EXPECT_EQ(1627u, CSetupAuxLibrary::Instance().Call("askRemoveOld", 0));
  EXPECT_TRUE(watcher.Seen().empty());
}

}  // namespace
