#include "TempFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "PathUtils.h"
#include "TempDir.h"

namespace {

DWORD FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return MAXDWORD;
  return data.nFileSizeLow;
}

bool IsNumberedName(const std::wstring& name, const std::wstring& prefix,
                    const std::wstring& suffix) {
  if (name.size() <= prefix.size() + suffix.size()) return false;
  if (name.compare(0, prefix.size(), prefix) != 0) return false;
  if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
  const std::wstring digits =
      name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  return digits.find_first_not_of(L"0123456789") == std::wstring::npos;
}

TEST(CreateUniqueTempFile, CreatesEmptyNumberedFileInTempFolder) {
  CTempDir dir;
  CTempOverride tmp(dir.Path() + L"\\");
  const std::wstring path = CreateUniqueTempFile(L"language", L".xml");
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(dir.Path(), GetParentPath(path));
  EXPECT_TRUE(IsNumberedName(path.substr(dir.Path().size() + 1), L"language", L".xml")) << path;
  EXPECT_EQ(0u, FileSize(path));
}

TEST(CreateUniqueTempFile, QuickSuccessiveCallsGetDistinctNames) {
  CTempDir dir;
  CTempOverride tmp(dir.Path() + L"\\");
  std::set<std::wstring> names;
  for (int i = 0; i < 20; ++i) {
    const std::wstring path = CreateUniqueTempFile(L"Vantrel", L".msi");
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(names.insert(path).second) << "name handed out twice: " << path;
  }
}

TEST(CreateUniqueTempFile, SkipsTakenNumbers) {
  CTempDir dir;
  CTempOverride tmp(dir.Path() + L"\\");
  // Writing a name takes longer than a tick, so the names are taken ahead of
  // the tick count, and the call waits until the count is inside them: it
  // must then move past all the rest.
  const DWORD kLeadMs = 3000;
  const DWORD kNames = 400;
  const DWORD kInsideMs = 100;
  const auto tick = [] { return GetTickCount() & 0x7FFFFFFF; };
  const auto name = [&dir](DWORD number) {
    return dir / (L"t" + std::to_wstring(number) + L".tmp");
  };
  const DWORD first = tick() + kLeadMs;
  for (DWORD number = first; number < first + kNames; ++number) WriteFile(name(number), "taken");
  ASSERT_LT(tick(), first) << "writing the names took too long for this check";
  while (tick() < first + kInsideMs) Sleep(10);
  const std::wstring path = CreateUniqueTempFile(L"t", L".tmp");
  ASSERT_LT(tick(), first + kNames) << "called too late for this check";
  EXPECT_EQ(name(first + kNames), path) << "not the first free number";
  EXPECT_EQ(0u, FileSize(path));
}

TEST(CreateUniqueTempFile, UnwritableTempFolderGivesEmptyPath) {
  CTempDir dir;
  CTempOverride tmp(dir / L"does-not-exist\\");
  EXPECT_EQ(L"", CreateUniqueTempFile(L"x", L".tmp"));
}

TEST(CreateTempFolder, FirstCandidateHasNoNumber) {
  CTempDir dir;
  const std::wstring first = CreateTempFolder(L"i18n", L"", dir.Path());
  EXPECT_EQ(dir / L"i18n", first);
  EXPECT_TRUE(IsDirectory(first));

  const std::wstring second = CreateTempFolder(L"i18n", L"", dir.Path() + L"/");
  ASSERT_FALSE(second.empty());
  EXPECT_NE(first, second);
  EXPECT_TRUE(IsDirectory(second));
  EXPECT_TRUE(IsNumberedName(second.substr(dir.Path().size() + 1), L"i18n", L"")) << second;
}

TEST(CreateTempFolder, SuffixAndTempFolderDefault) {
  CTempDir dir;
  CTempOverride tmp(dir.Path() + L"\\");
  EXPECT_EQ(dir / L"pre.d", CreateTempFolder(L"pre", L".d", L""));
}

TEST(CreateTempFolder, SkipsFilesInTheWay) {
  CTempDir dir;
  WriteFile(dir / L"name", "a file, not a folder");
  const std::wstring folder = CreateTempFolder(L"name", L"", dir.Path());
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(dir / L"name", folder);
  EXPECT_TRUE(IsDirectory(folder));
}

TEST(CreateTempFolder, GivesUpWhenNothingCanBeCreated) {
  CTempDir dir;
  WriteFile(dir / L"file", "blocks every candidate below it");
  EXPECT_EQ(L"", CreateTempFolder(L"x", L"", dir / L"file"));
}

}  // namespace
