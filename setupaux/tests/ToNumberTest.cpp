#include "ToNumber.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using setupaux::ToNumber;

namespace {

TEST(ToNumber, Numbers) {
  const struct {
    const wchar_t* text;
    std::int32_t expected;
  } cases[] = {
      {L"1", 1},
      {L"0x1F", 31},
      {L"#1f", 31},
      {L" 7", 7},
      {L"-3", -3},
      {L"+12", 12},
      {L"0", 0},
      {L"99999999999", 2147483647},
      {L"-99999999999", -2147483647 - 1},
      {L"0X10", 16},
      {L"010", 10},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, ToNumber(c.text)) << c.text;
  }
}

TEST(ToNumber, Refusals) {
  const struct {
    const wchar_t* text;
    const char* message;
  } cases[] = {
      {L"", "convert empty string to number"}, {L"7 ", "convert string to number"},
      {L"0x", "convert string to number"},     {L"#", "convert string to number"},
      {L"abc", "convert string to number"},    {L" ", "convert string to number"},
      {L"-", "convert string to number"},      {L"12abc", "convert string to number"},
      {L"0x1G", "convert string to number"},
  };
  for (const auto& c : cases) {
    try {
      ToNumber(c.text);
      ADD_FAILURE() << "no failure for \"" << c.text << '"';
    } catch (const std::exception& e) {
      EXPECT_STREQ(c.message, e.what());
    }
  }
}

}  // namespace
