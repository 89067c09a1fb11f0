#include "ui/LanguageBootstrap.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "TempDir.h"
#include "Translator.h"

namespace {

// The start-up's way (a thread of its own, waited for) and the direct call
// must do the same.
void LoadOnThread() {
  StartLoadingBuiltInLanguage();
  WaitForBuiltInLanguage();
  WaitForBuiltInLanguage();  // a second wait returns at once
}
void (*const kLoaders[])() = {LoadBuiltInLanguage, LoadOnThread};

#ifndef WITHOUT_CATALOGUE_RESOURCE

// This test program carries the built-in catalogue as resource 201, like the
// real program, so the bootstrap installs it and leaves no copy behind.
TEST(LoadBuiltInLanguage, InstallsTheCatalogueAndRemovesItsCopy) {
  for (const auto load : kLoaders) {
    libi18n::SetTranslator(boost::shared_ptr<libi18n::CMessageTranslator>());
    const std::set<std::wstring> before = TempFilesMatching(L"language*.xml");

    load();

    EXPECT_TRUE(libi18n::HasTranslation(L"Cancel"));
    EXPECT_EQ(L"Download {PRODUCT}", libi18n::GetTranslation(L"Download {PRODUCT}"));
    EXPECT_FALSE(libi18n::GetTranslation(L"IDS_DOWNLOADER_ERROR").empty());
    EXPECT_EQ(before, TempFilesMatching(L"language*.xml"));
  }
}

#else

// Built without resource 201: nothing is installed and the reserved copy
// still goes away.
TEST(LoadBuiltInLanguage, MissingResourceInstallsNothingAndLeavesNoCopy) {
  for (const auto load : kLoaders) {
    const std::set<std::wstring> before = TempFilesMatching(L"language*.xml");

    load();

    EXPECT_FALSE(libi18n::HasTranslation(L"Cancel"));
    EXPECT_EQ(before, TempFilesMatching(L"language*.xml"));
  }
}

#endif

}  // namespace
