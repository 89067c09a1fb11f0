#include "Encoding.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(Encoding, Utf8RoundTrips) {
  const wchar_t* texts[] = {L"",
                            L"plain",
                            L"Gr\u00fc\u00dfe",
                            L"\u041f\u0440\u0438\u0432\u0435\u0442",
                            L"\u4e2d\u6587",
                            L"\U0001F600 emoji"};
  for (const wchar_t* text : texts) {
    EXPECT_EQ(text, Utf8ToWide(WideToUtf8(text)));
  }
}

TEST(Encoding, KnownBytes) {
  EXPECT_EQ("\xC3\xA9t\xC3\xA9", WideToUtf8(L"\u00e9t\u00e9"));
  EXPECT_EQ(L"\u00e9t\u00e9", Utf8ToWide("\xC3\xA9t\xC3\xA9"));
  EXPECT_EQ("\xF0\x9F\x98\x80", WideToUtf8(L"\U0001F600"));
}

TEST(Encoding, Utf8ByteOrderMarkIsDropped) {
  EXPECT_EQ(L"abc", Utf8ToWide("\xEF\xBB\xBF"
                               "abc"));
  EXPECT_EQ(L"", Utf8ToWide("\xEF\xBB\xBF"));
  // Only a leading mark is dropped.
  EXPECT_EQ(L"a\uFEFF", Utf8ToWide("a\xEF\xBB\xBF"));
}

TEST(Encoding, OtherCodePages) {
  EXPECT_EQ(L"\u00e9", MultiByteToWide("\xE9", 1252));
  EXPECT_EQ("\xE9", WideToMultiByte(L"\u00e9", 1252));
  EXPECT_EQ(L"\u0416", MultiByteToWide("\xC6", 1251));
  EXPECT_EQ("", WideToMultiByte(L"", 1252));
  EXPECT_EQ(L"", MultiByteToWide("", 1252));
}

TEST(Encoding, InvalidCodePageGivesEmpty) {
  EXPECT_EQ(L"", MultiByteToWide("abc", 12345));
  EXPECT_EQ("", WideToMultiByte(L"abc", 12345));
}

}  // namespace
