#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "InstallerSession.h"
#include "RecordedBrowser.h"
#include "RegistryOverride.h"

namespace {

const wchar_t kDulonKey[] = L"Software\\Vantrel Solutions\\Vantrel Dulon 6";
const wchar_t kRondixKey[] = L"Software\\Vantrel Solutions\\Rondix 6";

struct Marker {
  bool present = false;
  DWORD type = REG_NONE;
  DWORD number = 0;
};

Marker ReadMarker(const wchar_t* key) {
  Marker marker;
  BYTE buffer[64] = {};
  DWORD bytes = sizeof(buffer);
  marker.present = RegGetValueW(HKEY_CURRENT_USER, key, L"TrialUrlOpened", RRF_RT_ANY, &marker.type,
                                buffer, &bytes) == ERROR_SUCCESS;
  if (marker.type == REG_DWORD) std::memcpy(&marker.number, buffer, sizeof(marker.number));
  return marker;
}

void SetTextMarker(const wchar_t* key, const wchar_t* text) {
  ASSERT_TRUE(SetRegistryText(HKEY_CURRENT_USER, key, L"TrialUrlOpened", text));
}

class OpenTrialUrl : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session.IsOpen());
    ClearMarkers();
    session.Set(L"ProductName", L"Vantrel Dulon 6");
    session.Set(L"ProductVersion", L"6.0.1234");
    session.Set(L"ProductLanguage", L"1033");
  }
  void TearDown() override { ClearMarkers(); }
  static void ClearMarkers() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kDulonKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, kRondixKey);
  }

  CRecordedBrowser browser;
  CInstallerSession session;
};

TEST_F(OpenTrialUrl, OpensThePageOfTheInstallationLanguage) {
  const struct {
    const wchar_t* language;
    const wchar_t* host;
  } cases[] = {
      {L"1033", L"www.vantrel.com"}, {L"1049", L"www.vantrel.ru"},  {L"1036", L"www.vantrel.fr"},
      {L"1034", L"www.vantrel.com"}, {L"1031", L"www.vantrel.com"},
  };
  std::vector<std::wstring> expected;
  for (const auto& c : cases) {
    ClearMarkers();
    session.Set(L"ProductLanguage", c.language);
    EXPECT_EQ(0u, session.Run("openTrialUrl")) << c.language;
    expected.push_back(std::wstring(L"http://") + c.host +
                       L"/go/thanks-for-trial?p=isdulon&v=6.0.1234");
    // Waits for this launch's recorder, so the next one cannot overtake it.
    EXPECT_EQ(expected, browser.Opened()) << c.language;
    const Marker marker = ReadMarker(kDulonKey);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), marker.type) << c.language;
    EXPECT_EQ(1u, marker.number) << c.language;
  }
}

TEST_F(OpenTrialUrl, OncePerUserAndEdition) {
  EXPECT_EQ(0u, session.Run("openTrialUrl"));
  EXPECT_EQ(1u, browser.Opened().size());
  EXPECT_EQ(0u, session.Run("openTrialUrl"));

  // A marker stored as text counts too; the language is not even looked at.
  SetTextMarker(kRondixKey, L"1");
  session.Set(L"ProductName", L"Vantrel Rondix 6");
  session.Set(L"ProductLanguage", L"2057");
  EXPECT_EQ(0u, session.Run("openTrialUrl"));
  EXPECT_EQ(1u, browser.Opened().size());
}

TEST_F(OpenTrialUrl, RondixHasItsOwnKeyAndProductKey) {
  session.Set(L"ProductName", L"Vantrel Rondix 6.1");
  EXPECT_EQ(0u, session.Run("openTrialUrl"));
  EXPECT_EQ(1u, ReadMarker(kRondixKey).number);
  EXPECT_FALSE(ReadMarker(kDulonKey).present);
  EXPECT_EQ(
      std::vector<std::wstring>{
          L"http://www.vantrel.com/go/thanks-for-trial?p=isrondix&v=6.0.1234"},
      browser.Opened());
}

// The launch enters COM for itself: the installer's thread keeps the
// apartment it had, or none.
TEST_F(OpenTrialUrl, LeavesTheThreadsApartmentAsItFoundIt) {
  const struct {
    const char* name;
    bool multithreaded;
    HRESULT enterAfter;  // what entering the multithreaded apartment answers after the action
  } cases[] = {
      {"no apartment", false, S_OK},
      {"multithreaded apartment", true, S_FALSE},
  };
  size_t launches = 0;
  for (const auto& c : cases) {
    ClearMarkers();
    UINT status = 0;
    HRESULT enterAfter = E_FAIL;
    std::thread([&] {
      if (c.multithreaded) CoInitializeEx(nullptr, COINIT_MULTITHREADED);
      status = session.Run("openTrialUrl");
      enterAfter = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
      if (SUCCEEDED(enterAfter)) CoUninitialize();
      if (c.multithreaded) CoUninitialize();
    }).join();
    EXPECT_EQ(0u, status) << c.name;
    EXPECT_EQ(c.enterAfter, enterAfter) << c.name;
    EXPECT_EQ(++launches, browser.Opened().size()) << c.name;
  }
}

TEST_F(OpenTrialUrl, RefusalsOpenNothingAndLeaveNoMarker) {
  const struct {
    const wchar_t* product;
    const wchar_t* language;
  } cases[] = {
      {L"Vantrel Dulon 6", L"2057"},
      {L"Vantrel Dulon 6", L"01033"},
      {L"Vantrel Olvo 6", L"1033"},
      {L"vantrel dulon 6", L"1033"},
  };
  for (const auto& c : cases) {
    session.Set(L"ProductName", c.product);
    session.Set(L"ProductLanguage", c.language);
    EXPECT_EQ(1627u, session.Run("openTrialUrl")) << c.product << " / " << c.language;
    EXPECT_FALSE(ReadMarker(kDulonKey).present) << c.product << " / " << c.language;
  }
  EXPECT_TRUE(browser.Opened().empty());
}

}  // namespace
