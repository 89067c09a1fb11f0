#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "InstallerSession.h"
#include "RegistryOverride.h"
#include "SetupAuxLibrary.h"
#include "TestRegistryKey.h"

namespace {

const wchar_t kFlashClassKey[] = L"CLSID\\{D27CDB6E-AE6D-11CF-96B8-444553540000}";

bool WindowsIs64Bit() {
  // Only 64-bit Windows has the folder of 32-bit system files.
  const DWORD attributes = GetFileAttributesW(L"C:\\windows\\syswow64");
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(IsX64Windows, TellsTheWindowsBitness) {
  CInstallerSession session;
  ASSERT_TRUE(session.IsOpen());
  session.Set(L"IS_X64_WINDOWS", L"stale");
  EXPECT_EQ(0u, session.Run("isX64Windows"));
  EXPECT_EQ(WindowsIs64Bit() ? L"1" : L"", session.Get(L"IS_X64_WINDOWS"));
}

// The stand-in control is registered for this suite only.
class FlashVersionValid : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session.IsOpen());
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Register();
    session.Set(L"FLASHVERSIONVALID", L"stale");
  }
  void TearDown() override {
    Unregister();
    CoUninitialize();
  }
  static void Register() {
    const std::wstring path = std::wstring(kFlashClassKey) + L"\\InprocServer32";
    ASSERT_TRUE(
        SetRegistryText(HKEY_CLASSES_ROOT, path, nullptr, ProgramFolder() + L"\\flash_stub.dll"));
    ASSERT_TRUE(SetRegistryText(HKEY_CLASSES_ROOT, path, L"ThreadingModel", L"Apartment"));
  }
  static void Unregister() { RegDeleteTreeW(HKEY_CLASSES_ROOT, kFlashClassKey); }

  CInstallerSession session;
  CTestRegistryKey stub{L"Flash stub"};
};

TEST_F(FlashVersionValid, ComparesTheMajorVersion) {
  const struct {
    const char* name;
    DWORD version;
    DWORD status;
    DWORD noInterface;
    const wchar_t* need;
    const wchar_t* expected;
  } cases[] = {
      {"major 10, need 10", 0x000A0000, S_OK, 0, L"10", L"1"},
      {"major 10, need 11", 0x000A0000, S_OK, 0, L"11", L""},
      {"major 11, need 0xA", 0x000B0003, S_OK, 0, L"0xA", L"1"},
      {"major 0", 0x0000FFFF, S_OK, 0, L"1", L""},
      {"negative word", 0x80000000, S_OK, 0, L"1", L""},
      {"FlashVersion fails", 0x000A0000, static_cast<DWORD>(E_FAIL), 0, L"1", L""},
      {"no control interface", 0x000A0000, S_OK, 1, L"1", L""},
  };
  for (const auto& c : cases) {
    stub.SetDword(L"Version", c.version);
    stub.SetDword(L"Status", c.status);
    stub.SetDword(L"NoInterface", c.noInterface);
    session.Set(L"FLASHVERSIONNEED", c.need);
    session.Set(L"FLASHVERSIONVALID", L"stale");
    EXPECT_EQ(0u, session.Run("flashVersionValid")) << c.name;
    EXPECT_EQ(c.expected, session.Get(L"FLASHVERSIONVALID")) << c.name;
  }
}

TEST_F(FlashVersionValid, NoControlRegistered) {
  Unregister();
  session.Set(L"FLASHVERSIONNEED", L"1");
  EXPECT_EQ(0u, session.Run("flashVersionValid"));
  EXPECT_EQ(L"", session.Get(L"FLASHVERSIONVALID"));
}

TEST_F(FlashVersionValid, BadNeedFailsAndKeepsTheFlag) {
  stub.SetDword(L"Version", 0x000A0000);
  for (const wchar_t* need : {L"0", L"-1", L"", L"abc", L"7 "}) {
    session.Set(L"FLASHVERSIONNEED", need);
    EXPECT_EQ(1627u, session.Run("flashVersionValid")) << need;
    EXPECT_EQ(L"stale", session.Get(L"FLASHVERSIONVALID")) << need;
  }
}

}  // namespace
