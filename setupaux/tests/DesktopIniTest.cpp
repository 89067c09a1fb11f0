#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "SetupAuxLibrary.h"

namespace {

std::wstring CommonDesktopIni() {
  wchar_t folder[MAX_PATH] = {};
  EXPECT_TRUE(SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_DESKTOPDIRECTORY, TRUE));
  return std::wstring(folder) + L"\\desktop.ini";
}

void Remove(const std::wstring& path) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(path.c_str());
}

// The action does not use the session: a null handle stands for any.
UINT RunAction() {
  return CSetupAuxLibrary::Instance().Call("removeDesktopIniReadOnlyAttribute", 0);
}

TEST(RemoveDesktopIniReadOnly, AbsentFileIsSuccess) {
  const std::wstring path = CommonDesktopIni();
  Remove(path);
  EXPECT_EQ(0u, RunAction());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
}

TEST(RemoveDesktopIniReadOnly, ClearsOnlyTheReadOnlyBit) {
  const std::wstring path = CommonDesktopIni();
  Remove(path);
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  CloseHandle(file);
  ASSERT_TRUE(SetFileAttributesW(
      path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  // Whatever the file system keeps of hidden and system must stay.
  const DWORD before = GetFileAttributesW(path.c_str());
  ASSERT_TRUE(before & FILE_ATTRIBUTE_READONLY);

  EXPECT_EQ(0u, RunAction());
  EXPECT_EQ(before & ~FILE_ATTRIBUTE_READONLY, GetFileAttributesW(path.c_str()));
  EXPECT_EQ(0u, RunAction());  // already writable: nothing to do
  EXPECT_EQ(before & ~FILE_ATTRIBUTE_READONLY, GetFileAttributesW(path.c_str()));
  Remove(path);
}

}  // namespace
