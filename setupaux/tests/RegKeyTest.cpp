#include "reg_key.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ImportPatch.h"
#include "TestRegistryKey.h"

using setupaux::reg_key;

namespace {

const REGSAM kRead64 = KEY_READ | KEY_WOW64_64KEY;

TEST(RegKey, QueryNumber) {
  CTestRegistryKey key(L"QueryNumber");
  key.SetText(L"text", L"3abc");
  key.SetText(L"letters", L"abc");
  key.SetText(L"hex", L"0x10");
  key.SetText(L"empty", L"");
  key.SetDword(L"dword", 5);
  key.SetDword(L"negative", 0xFFFFFFFE);
  const BYTE binary[] = {3, 0, 0, 0};
  key.SetRaw(L"binary", REG_BINARY, binary, sizeof(binary));
  const wchar_t expand[] = L"12";
  key.SetRaw(L"expand", REG_EXPAND_SZ, expand, sizeof(expand));
  const wchar_t multi[] =
      L"7\0"
      L"8\0";
  key.SetRaw(L"multi", REG_MULTI_SZ, multi, sizeof(multi));
  const BYTE shortDword[] = {9, 0};
  key.SetRaw(L"shortdword", REG_DWORD, shortDword, sizeof(shortDword));

  reg_key opened;
  ASSERT_EQ(ERROR_SUCCESS, opened.open_key(HKEY_CURRENT_USER, key.Path(), KEY_READ));
  const struct {
    const wchar_t* name;
    std::int32_t expected;
  } cases[] = {
      {L"text", 3},  {L"letters", 0},   {L"hex", 16},       {L"empty", 0},
      {L"dword", 5}, {L"negative", -2}, {L"binary", -7},    {L"expand", 12},
      {L"multi", 7}, {L"missing", -7},  {L"shortdword", 9},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, opened.query_number(c.name, -7)) << c.name;
}

TEST(RegKey, QueryNumberWithoutKeyGivesDefault) {
  reg_key closed;
  EXPECT_EQ(11, closed.query_number(L"LoadBehavior", 11));
}

// A stored text need not end with a NUL; one that fills the whole read buffer
// must be converted from the buffer alone.
TEST(RegKey, QueryNumberOfUnterminatedTextFillingTheBuffer) {
  CTestRegistryKey key(L"Unterminated");
  // The registry quietly stores a NUL that follows the given bytes, so the
  // character after the stored text must not be one.
  std::vector<wchar_t> text(65536 + 2, L' ');
  text[65535] = L'9';
  text[65536] = L'7';
  key.SetRaw(L"full", REG_SZ, text.data(), 65536 * sizeof(wchar_t));
  key.SetRaw(L"longer", REG_SZ, text.data(), 65537 * sizeof(wchar_t));

  reg_key opened;
  ASSERT_EQ(ERROR_SUCCESS, opened.open_key(HKEY_CURRENT_USER, key.Path(), KEY_READ));
  EXPECT_EQ(9, opened.query_number(L"full", -1));
  EXPECT_EQ(-1, opened.query_number(L"longer", -1));  // does not fit: unreadable
}

TEST(RegKey, OpenCreateAndClose) {
  CTestRegistryKey key(L"OpenCreate");
  reg_key subject;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            subject.open_key(HKEY_CURRENT_USER, key.Path() + L"\\absent", KEY_READ));
  EXPECT_EQ(nullptr, subject.handle());

  ASSERT_EQ(ERROR_SUCCESS, subject.open_key(HKEY_CURRENT_USER, key.Path(), kRead64));
  const HKEY first = subject.handle();
  EXPECT_NE(nullptr, first);
  EXPECT_EQ(static_cast<DWORD>(KEY_WOW64_64KEY), subject.view_bits());

  // A failed open keeps the held key.
  EXPECT_NE(ERROR_SUCCESS, subject.open_key(HKEY_CURRENT_USER, key.Path() + L"\\absent",
                                            KEY_READ | KEY_WOW64_32KEY));
  EXPECT_EQ(first, subject.handle());
  EXPECT_EQ(static_cast<DWORD>(KEY_WOW64_64KEY), subject.view_bits());

  ASSERT_EQ(ERROR_SUCCESS, subject.create_key(HKEY_CURRENT_USER, key.Path() + L"\\made",
                                              KEY_READ | KEY_WRITE | KEY_WOW64_32KEY));
  EXPECT_EQ(static_cast<DWORD>(KEY_WOW64_32KEY), subject.view_bits());
  EXPECT_TRUE(subject.set_dword(L"LoadBehavior", 3));
  EXPECT_EQ(3, subject.query_number(L"LoadBehavior", 0));

  EXPECT_TRUE(subject.close_key());
  EXPECT_EQ(nullptr, subject.handle());
  EXPECT_EQ(0u, subject.view_bits());
  EXPECT_TRUE(subject.close_key());
  EXPECT_FALSE(subject.set_dword(L"LoadBehavior", 3));
}

TEST(RegKey, EnumSubkeys) {
  CTestRegistryKey key(L"Enum");
  const std::wstring names[] = {L"a", L"S-1-5-21-1", std::wstring(255, L'k')};
  for (const auto& name : names) {
    HKEY sub = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(key.Handle(), name.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &sub, nullptr));
    RegCloseKey(sub);
  }
  reg_key subject;
  ASSERT_EQ(ERROR_SUCCESS, subject.open_key(HKEY_CURRENT_USER, key.Path(), KEY_READ));
  std::wstring found[3];
  for (DWORD i = 0; i < 3; ++i) ASSERT_TRUE(subject.enum_subkey(i, found[i])) << i;
  std::wstring name = L"stale";
  EXPECT_FALSE(subject.enum_subkey(3, name));
  EXPECT_EQ(L"", name);
  std::sort(std::begin(found), std::end(found));
  EXPECT_EQ(L"S-1-5-21-1", found[0]);
  EXPECT_EQ(L"a", found[1]);
  EXPECT_EQ(std::wstring(255, L'k'), found[2]);
}

// Stands in for the registry: key names are capped far below the first
// buffer, so only a stand-in can give a name that needs a larger one.
std::vector<DWORD> g_offeredLengths;
const std::wstring kLongName(5000, L'n');

LONG WINAPI EnumLongName(HKEY, DWORD index, LPWSTR name, LPDWORD length, LPDWORD, LPWSTR, LPDWORD,
                         PFILETIME) {
  g_offeredLengths.push_back(*length);
  if (index > 0) return ERROR_NO_MORE_ITEMS;
  if (*length <= kLongName.size()) return ERROR_MORE_DATA;
  kLongName.copy(name, kLongName.size());
  name[kLongName.size()] = L'\0';
  *length = static_cast<DWORD>(kLongName.size());
  return ERROR_SUCCESS;
}

TEST(RegKey, EnumSubkeyLongerThanFirstBuffer) {
  CTestRegistryKey key(L"EnumLong");
  reg_key subject;
  ASSERT_EQ(ERROR_SUCCESS, subject.open_key(HKEY_CURRENT_USER, key.Path(), KEY_READ));
  g_offeredLengths.clear();
  CImportPatch patch("advapi32.dll", "RegEnumKeyExW", reinterpret_cast<void*>(&EnumLongName));
  ASSERT_TRUE(patch.Applied());
  std::wstring name;
  EXPECT_TRUE(subject.enum_subkey(0, name));
  EXPECT_EQ(kLongName, name);
  EXPECT_EQ((std::vector<DWORD>{4096, 8192}), g_offeredLengths);
  EXPECT_FALSE(subject.enum_subkey(1, name));
  EXPECT_EQ(L"", name);
}

TEST(RegKey, EnumWithoutKeyEnds) {
  reg_key closed;
  std::wstring name = L"stale";
  EXPECT_FALSE(closed.enum_subkey(0, name));
  EXPECT_EQ(L"", name);
}

}  // namespace
