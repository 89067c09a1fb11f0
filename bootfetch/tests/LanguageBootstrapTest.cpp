#include "LanguageBootstrap.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "TempDir.h"
#include "Translator.h"

namespace {

#ifndef WITHOUT_CATALOGUE_RESOURCE

// This test program carries the built-in catalogue as resource 201, like the
// real program, so the bootstrap installs it and leaves no copy behind.
TEST(LoadBuiltInLanguage, InstallsTheCatalogueAndRemovesItsCopy) {
  libi18n::SetTranslator(boost::shared_ptr<libi18n::CMessageTranslator>());
  const std::set<std::wstring> before = TempFilesMatching(L"language*.xml");

  LoadBuiltInLanguage();

  EXPECT_TRUE(libi18n::HasTranslation(L"Cancel"));
  EXPECT_EQ(L"Download {PRODUCT}", libi18n::GetTranslation(L"Download {PRODUCT}"));
  EXPECT_FALSE(libi18n::GetTranslation(L"IDS_DOWNLOADER_ERROR").empty());
  EXPECT_EQ(before, TempFilesMatching(L"language*.xml"));
}

#else

// Built without resource 201: nothing is installed and the reserved copy
// still goes away.
TEST(LoadBuiltInLanguage, MissingResourceInstallsNothingAndLeavesNoCopy) {
  const std::set<std::wstring> before = TempFilesMatching(L"language*.xml");

  LoadBuiltInLanguage();

  EXPECT_FALSE(libi18n::HasTranslation(L"Cancel"));
  EXPECT_EQ(before, TempFilesMatching(L"language*.xml"));
}

#endif

}  // namespace
