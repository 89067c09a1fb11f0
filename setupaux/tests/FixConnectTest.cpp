#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "InstallerSession.h"
#include "SetupAuxLibrary.h"

namespace {

const wchar_t kAddin2007[] = L"Vantrel.Test.Connect2007";
const wchar_t kAddin2003[] = L"Vantrel.Test.Connect2003";
const wchar_t kAddins[] = L"\\Software\\Microsoft\\Office\\PowerPoint\\Addins";

struct StoredValue {
  bool present = false;
  DWORD type = REG_NONE;
  std::wstring text;  // REG_SZ
  DWORD number = 0;   // REG_DWORD
};

// A user hive of its own below HKEY_USERS, removed afterwards.
class CTestHive {
 public:
  explicit CTestHive(const std::wstring& name) : m_name(L"Vantrel-Test-" + name) {
    RegDeleteTreeW(HKEY_USERS, m_name.c_str());
  }
  ~CTestHive() { RegDeleteTreeW(HKEY_USERS, m_name.c_str()); }

  std::wstring AddinPath(const std::wstring& addin) const {
    return m_name + kAddins + L"\\" + addin;
  }
  void CreateAddins() {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_USERS, (m_name + kAddins).c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
  }
  void SetLoadBehavior(const std::wstring& addin, DWORD type, const void* data, DWORD bytes,
                       REGSAM view = 0) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_USERS, AddinPath(addin).c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS | view, nullptr, &key, nullptr));
    if (data) RegSetValueExW(key, L"LoadBehavior", 0, type, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
  }
  void SetDword(const std::wstring& addin, DWORD value, REGSAM view = 0) {
    SetLoadBehavior(addin, REG_DWORD, &value, sizeof(value), view);
  }
  void SetText(const std::wstring& addin, const std::wstring& text) {
    SetLoadBehavior(addin, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  bool HasKey(const std::wstring& addin) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_USERS, AddinPath(addin).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }
  StoredValue Read(const std::wstring& addin, REGSAM view = 0) const {
    StoredValue stored;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_USERS, AddinPath(addin).c_str(), 0, KEY_READ | view, &key) !=
        ERROR_SUCCESS)
      return stored;
    wchar_t buffer[64] = {};
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    stored.present = RegQueryValueExW(key, L"LoadBehavior", nullptr, &stored.type,
                                      reinterpret_cast<BYTE*>(buffer), &bytes) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (stored.type == REG_DWORD) std::memcpy(&stored.number, buffer, sizeof(stored.number));
    if (stored.type == REG_SZ) stored.text = buffer;
    return stored;
  }
  FILETIME LastWrite(const std::wstring& addin) const {
    FILETIME time = {};
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_USERS, AddinPath(addin).c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
      RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, &time);
      RegCloseKey(key);
    }
    return time;
  }

 private:
  std::wstring m_name;
};

void ExpectDword3(const CTestHive& hive, const wchar_t* addin, const char* what, REGSAM view = 0) {
  const StoredValue stored = hive.Read(addin, view);
  EXPECT_TRUE(stored.present) << what;
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), stored.type) << what;
  EXPECT_EQ(3u, stored.number) << what;
}

class FixConnect : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session.IsOpen());
    two.SetDword(kAddin2007, 2);
    missing.SetLoadBehavior(kAddin2007, REG_NONE, nullptr, 0);
    three.SetDword(kAddin2007, 3);
    textThree.SetText(kAddin2007, L"3");
    textTwo.SetText(kAddin2007, L"2");
    withoutAddin.CreateAddins();
    older.SetDword(kAddin2003, 0);
    // On 64-bit Windows these may be keys of their own; elsewhere they are the same key.
    view64.SetDword(kAddin2007, 1, KEY_WOW64_64KEY);
    view32.SetDword(kAddin2007, 1, KEY_WOW64_32KEY);
  }

  CInstallerSession session;
  CTestHive two{L"two"}, missing{L"missing"}, three{L"three"}, textThree{L"text-three"},
      textTwo{L"text-two"}, withoutAddin{L"without"}, older{L"older"}, view64{L"view-64"},
      view32{L"view-32"};
};

TEST_F(FixConnect, SetsLoadAtStartupInEveryHive) {
  const FILETIME before = three.LastWrite(kAddin2007);
  session.Set(L"CONNECT2007NAME", kAddin2007);
  session.Set(L"CONNECT2003NAME", kAddin2003);
  EXPECT_EQ(0u, session.Run("fixConnect"));

  ExpectDword3(two, kAddin2007, "DWORD 2");
  ExpectDword3(missing, kAddin2007, "no value");
  ExpectDword3(textTwo, kAddin2007, "text 2");
  ExpectDword3(older, kAddin2003, "second add-in");
  ExpectDword3(view64, kAddin2007, "64-bit view", KEY_WOW64_64KEY);
  ExpectDword3(view32, kAddin2007, "32-bit view", KEY_WOW64_32KEY);
  ExpectDword3(three, kAddin2007, "DWORD 3");
  const FILETIME after = three.LastWrite(kAddin2007);
  EXPECT_EQ(0, CompareFileTime(&before, &after)) << "a value of 3 was written again";

  const StoredValue text = textThree.Read(kAddin2007);
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), text.type);
  EXPECT_EQ(L"3", text.text);

  EXPECT_FALSE(withoutAddin.HasKey(kAddin2007));
  EXPECT_FALSE(withoutAddin.HasKey(kAddin2003));
  EXPECT_FALSE(two.HasKey(kAddin2003));  // keys are never created
}

TEST_F(FixConnect, NoAddinNamesChangeNothing) {
  EXPECT_EQ(0u, session.Run("fixConnect"));
  EXPECT_EQ(2u, two.Read(kAddin2007).number);
  EXPECT_FALSE(missing.Read(kAddin2007).present);
  EXPECT_EQ(0u, older.Read(kAddin2003).number);
}

TEST(FixConnectFailures, UnreadableNamesAreNoFailure) {
  EXPECT_EQ(0u, CSetupAuxLibrary::Instance().Call("fixConnect", 0));
}

}  // namespace
