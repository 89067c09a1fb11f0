#include "StringUtils.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(ReplaceAll, Cases) {
  const struct {
    const wchar_t *text, *search, *replacement, *expected;
  } cases[] = {
      {L"a{X}b{X}c", L"{X}", L"1", L"a1b1c"},
      {L"abc", L"", L"z", L"abc"},
      {L"aaa", L"aa", L"b", L"ba"},
      {L"", L"a", L"b", L""},
      {L"abc", L"x", L"y", L"abc"},
      {L"{P}", L"{P}", L"{P}{P}", L"{P}{P}"},  // the replacement is not searched again
      {L"xx", L"x", L"", L""},
      {L"Download {PRODUCT}", L"{PRODUCT}", L"Vantrel Dulon", L"Download Vantrel Dulon"},
      {L"ABC abc", L"abc", L"-", L"ABC -"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, ReplaceAll(c.text, c.search, c.replacement))
        << c.text << " / " << c.search;
  }
}

TEST(StringToInt, Cases) {
  const struct {
    const wchar_t* text;
    int expected;
    bool rest;
  } cases[] = {
      {L"200", 200, false},
      {L"0x1F", 31, false},
      {L"0X1f", 31, false},
      {L"#1F", 31, false},
      {L"0x", 0, true},
      {L"#", 0, true},
      {L"12abc", 12, true},
      {L"", 0, false},
      {L"abc", 0, true},
      {L"  -42", -42, false},
      {L"+7", 7, false},
      {L"7 ", 7, true},
      {L"2147483647", INT_MAX, false},
      {L"2147483648", INT_MAX, false},
      {L"-2147483649", INT_MIN, false},
      {L"0xFFFFFFFF", INT_MAX, false},
      {L"010", 10, false},
      {L"0x-1", -1, false},
  };
  for (const auto& c : cases) {
    bool rest = !c.rest;
    EXPECT_EQ(c.expected, StringToInt(c.text, &rest)) << c.text;
    EXPECT_EQ(c.rest, rest) << c.text;
    EXPECT_EQ(c.expected, StringToInt(c.text)) << c.text;
  }
}

TEST(IntToString, Cases) {
  EXPECT_EQ(L"0", IntToString(0));
  EXPECT_EQ(L"123", IntToString(123));
  EXPECT_EQ(L"-5", IntToString(-5));
  EXPECT_EQ(L"2147483647", IntToString(INT_MAX));
  EXPECT_EQ(L"-2147483648", IntToString(INT_MIN));
}

}  // namespace
