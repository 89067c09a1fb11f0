#include "PathUtils.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "TempDir.h"

namespace {

TEST(PathUtils, GetParentPath) {
  const struct {
    const wchar_t *path, *parent;
  } cases[] = {
      {L"", L""},
      {L"name", L""},
      {L"C:\\a\\b", L"C:\\a"},
      {L"C:\\a\\b\\", L"C:\\a\\b"},
      {L"C:\\", L"C:"},
      {L"C:/a/b", L"C:/a"},
      {L"C:\\a/b", L"C:\\a"},
      {L"C:/a\\b", L"C:/a"},
      {L"\\\\server", L""},
      {L"\\\\server\\share", L"\\\\server"},
      {L"\\\\server\\share\\dir", L"\\\\server\\share"},
      {L"\\\\", L"\\"},  // too short for a UNC path: the second backslash is the separator
      {L"\\a", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.parent, GetParentPath(c.path)) << c.path;
}

TEST(PathUtils, UncClassification) {
  const struct {
    const wchar_t* path;
    bool server, share;
  } cases[] = {
      {L"\\\\server", true, false},
      {L"\\\\server\\share", false, true},
      {L"\\\\server\\share\\d", false, false},
      {L"\\\\", false, false},
      {L"C:\\a", false, false},
      {L"\\single", false, false},
      {L"\\\\s", true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.server, IsUncServer(c.path)) << c.path;
    EXPECT_EQ(c.share, IsUncShare(c.path)) << c.path;
  }
}

TEST(PathUtils, EnsureTrailingSeparator) {
  EXPECT_EQ(L"\\", EnsureTrailingSeparator(L""));
  EXPECT_EQ(L"C:\\a\\", EnsureTrailingSeparator(L"C:\\a"));
  EXPECT_EQ(L"C:\\a\\", EnsureTrailingSeparator(L"C:\\a\\"));
  EXPECT_EQ(L"C:/a/", EnsureTrailingSeparator(L"C:/a/"));
}

TEST(PathUtils, FileExists) {
  CTempDir dir;
  EXPECT_TRUE(FileExists(dir.Path()));
  EXPECT_FALSE(FileExists(dir / L"missing.txt"));
  WriteFile(dir / L"file.txt", "x");
  EXPECT_TRUE(FileExists(dir / L"file.txt"));
  EXPECT_FALSE(FileExists(L""));
}

TEST(PathUtils, CreateFolderPathMakesParents) {
  CTempDir dir;
  const std::wstring deep = dir / L"a\\b\\c";
  ASSERT_TRUE(CreateFolderPath(deep));
  EXPECT_TRUE(IsDirectory(deep));
  EXPECT_TRUE(CreateFolderPath(deep));  // already there
  EXPECT_TRUE(CreateFolderPath(L""));
  EXPECT_TRUE(CreateFolderPath(L"\\\\server\\share"));
}

TEST(PathUtils, CreateFolderPathFailsOnFile) {
  CTempDir dir;
  WriteFile(dir / L"file", "x");
  EXPECT_FALSE(CreateFolderPath(dir / L"file"));
  EXPECT_FALSE(CreateFolderPath(dir / L"file\\below"));
}

TEST(PathUtils, RemoveFolderRecursiveWithReadOnlyFile) {
  CTempDir dir;
  const std::wstring root = dir / L"tree";
  ASSERT_TRUE(CreateFolderPath(root + L"\\sub\\deeper"));
  WriteFile(root + L"\\ro.txt", "read only");
  ASSERT_TRUE(SetFileAttributesW((root + L"\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  WriteFile(root + L"\\sub\\deeper\\f.bin", "x");
  RemoveFolder(root + L"\\", true);  // a trailing separator is accepted
  EXPECT_FALSE(FileExists(root));
}

TEST(PathUtils, RemoveFolderNonRecursiveKeepsSubfolders) {
  CTempDir dir;
  const std::wstring root = dir / L"tree";
  ASSERT_TRUE(CreateFolderPath(root + L"\\sub"));
  WriteFile(root + L"\\top.txt", "x");
  WriteFile(root + L"\\sub\\inner.txt", "x");
  RemoveFolder(root, false);
  EXPECT_FALSE(FileExists(root + L"\\top.txt"));
  EXPECT_TRUE(FileExists(root + L"\\sub\\inner.txt"));
  EXPECT_TRUE(IsDirectory(root));
}

TEST(PathUtils, RemoveFolderOfEmptyPathDoesNothing) {
  CTempDir dir;
  WriteFile(dir / L"keep.txt", "x");
  RemoveFolder(L"", true);
  EXPECT_TRUE(FileExists(dir / L"keep.txt"));
}

}  // namespace
