#include "TrialUrl.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace setupaux;

namespace {

TEST(TrialUrl, UnknownLanguages) {
  for (const wchar_t* language : {L"2057", L"01033", L"1033 ", L" 1033", L"", L"0x409"}) {
    try {
      LanguageCodeFromProductLanguage(language);
      ADD_FAILURE() << "accepted \"" << language << '"';
    } catch (const std::exception& e) {
      EXPECT_STREQ("unknown language", e.what());
    }
  }
  for (int code : {-1, 5}) {
    try {
      WebHostForLanguage(code);
      ADD_FAILURE() << "accepted " << code;
    } catch (const std::exception& e) {
      EXPECT_STREQ("unknown language code", e.what());
    }
  }
}

TEST(TrialUrl, Address) {
  EXPECT_EQ(L"http://www.vantrel.com/go/thanks-for-trial?p=isdulon&v=6.0.1234",
            BuildTrialUrl(L"www.vantrel.com", L"isdulon", L"6.0.1234"));
  // Values go in unchanged, and later placeholders are filled in earlier values too.
  EXPECT_EQ(L"http://h-7 8/go/thanks-for-trial?p=a&b&v=7 8",
            BuildTrialUrl(L"h-{VERSION}", L"a&b", L"7 8"));
}

}  // namespace
