#include "ShellOpenFile.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "WaitUntil.h"

namespace {

// A missing file must come back at once as a failure: the shell is told to
// show no error box, which would otherwise block an unattended run.
TEST(ShellOpenFile, MissingFileFailsWithoutUi) {
  CTempDir dir;
  EXPECT_FALSE(ShellOpenFile(dir / L"missing.msi", nullptr));
}

// Runs a batch file through the shell and waits for what it leaves behind.
TEST(ShellOpenFile, OpensFileWithItsAssociation) {
  CTempDir dir;
  const std::wstring marker = dir / L"opened.txt";
  const std::wstring script = dir / L"run.bat";
  WriteFile(script, "@echo opened> \"" + std::string(marker.begin(), marker.end()) + "\"\r\n");
  EXPECT_TRUE(ShellOpenFile(script, nullptr));
  EXPECT_TRUE(WaitUntil(
      [&marker] { return GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000));
}

}  // namespace
