#include "Translator.h"

#include <gtest/gtest.h>

namespace {

TEST(ControlChars, RoundTrip) {
  EXPECT_EQ(L"a\\nb\\rc\\td", libi18n::EscapeControlChars(L"a\nb\rc\td"));
  EXPECT_EQ(L"a\nb\rc\td", libi18n::UnescapeControlChars(L"a\\nb\\rc\\td"));
}

}  // namespace
