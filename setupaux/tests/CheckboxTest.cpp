#include <gtest/gtest.h>

#include "InstallerSession.h"
#include "SetupAuxLibrary.h"

namespace {

const wchar_t kState[] = L"WIXUI_EXITDIALOGOPTIONALCHECKBOX";
const wchar_t kLabel[] = L"WIXUI_EXITDIALOGOPTIONALCHECKBOXTEXT";
const wchar_t kDisable[] = L"WIXUI_EXITDIALOGOPTIONALCHECKBOXDISABLE";

class Checkbox : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session.IsOpen());
    session.Set(kState, L"1");
    session.Set(kLabel, L"Launch Vantrel Dulon");
    session.Set(L"CHECK_ID", L"LAUNCH_RECORD");
  }
  CInstallerSession session;
};

TEST_F(Checkbox, FirstAndSecondCopies) {
  ASSERT_EQ(0u, session.Run("addCheckbox"));
  EXPECT_EQ(L"1", session.Get(L"WIXUI_EXITDIALOGOPTIONALCHECKBOX1"));
  EXPECT_EQ(L"Launch Vantrel Dulon", session.Get(L"WIXUI_EXITDIALOGOPTIONALCHECKBOXTEXT1"));
  EXPECT_EQ(L"", session.Get(L"WIXUI_EXITDIALOGOPTIONALCHECKBOXDISABLE1"));
  EXPECT_EQ(L"WIXUI_EXITDIALOGOPTIONALCHECKBOX1", session.Get(L"LAUNCH_RECORD"));
  EXPECT_EQ(L"2", session.Get(L"VANTREL_OLVO_CHECKBOX"));

  session.Set(kState, L"");
  session.Set(kLabel, L"Open the guide");
  session.Set(kDisable, L"1");
  session.Set(L"CHECK_ID", L"GUIDE_RECORD");
  ASSERT_EQ(0u, session.Run("addCheckbox"));
  EXPECT_EQ(L"", session.Get(L"WIXUI_EXITDIALOGOPTIONALCHECKBOX2"));
  EXPECT_EQ(L"Open the guide", session.Get(L"WIXUI_EXITDIALOGOPTIONALCHECKBOXTEXT2"));
  EXPECT_EQ(L"1", session.Get(L"WIXUI_EXITDIALOGOPTIONALCHECKBOXDISABLE2"));
  EXPECT_EQ(L"WIXUI_EXITDIALOGOPTIONALCHECKBOX2", session.Get(L"GUIDE_RECORD"));
  EXPECT_EQ(L"3", session.Get(L"VANTREL_OLVO_CHECKBOX"));
  // The first copy is left alone.
  EXPECT_EQ(L"1", session.Get(L"WIXUI_EXITDIALOGOPTIONALCHECKBOX1"));
  EXPECT_EQ(L"WIXUI_EXITDIALOGOPTIONALCHECKBOX1", session.Get(L"LAUNCH_RECORD"));
}

TEST_F(Checkbox, SuffixIsTheCounterTextAsRead) {
  session.Set(L"VANTREL_OLVO_CHECKBOX", L"0x2");
  ASSERT_EQ(0u, session.Run("addCheckbox"));
  EXPECT_EQ(L"1", session.Get(L"WIXUI_EXITDIALOGOPTIONALCHECKBOX0x2"));
  EXPECT_EQ(L"WIXUI_EXITDIALOGOPTIONALCHECKBOX0x2", session.Get(L"LAUNCH_RECORD"));
  EXPECT_EQ(L"3", session.Get(L"VANTREL_OLVO_CHECKBOX"));
}

TEST_F(Checkbox, BadCounterWritesNothing) {
  for (const wchar_t* counter : {L"abc", L"2 ", L"2147483647"}) {
    session.Set(L"VANTREL_OLVO_CHECKBOX", counter);
    EXPECT_EQ(1627u, session.Run("addCheckbox")) << counter;
    EXPECT_EQ(counter, session.Get(L"VANTREL_OLVO_CHECKBOX"));
    EXPECT_EQ(L"", session.Get(std::wstring(kState) + counter)) << counter;
    EXPECT_EQ(L"", session.Get(L"LAUNCH_RECORD")) << counter;
  }
}

TEST_F(Checkbox, LoadFollowsTheRecord) {
  ASSERT_EQ(0u, session.Run("addCheckbox"));
  session.Set(L"CHECK", L"LAUNCH_STATE");
  ASSERT_EQ(0u, session.Run("loadCheckboxValue"));
  EXPECT_EQ(L"1", session.Get(L"LAUNCH_STATE"));

  // The user cleared the box on the exit dialog.
  session.Set(L"WIXUI_EXITDIALOGOPTIONALCHECKBOX1", L"");
  ASSERT_EQ(0u, session.Run("loadCheckboxValue"));
  EXPECT_EQ(L"", session.Get(L"LAUNCH_STATE"));
}

TEST(CheckboxFailures, UnreadableSessionFails) {
  EXPECT_EQ(1627u, CSetupAuxLibrary::Instance().Call("addCheckbox", 0));
  EXPECT_EQ(1627u, CSetupAuxLibrary::Instance().Call("loadCheckboxValue", 0));
}

}  // namespace
