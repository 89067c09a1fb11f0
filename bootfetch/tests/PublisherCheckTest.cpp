// The publisher check on files that make_publisher_files.py signs at test
// time, held as the downloader holds a finished package: for reading only,
// shared for reading.
#include <gtest/gtest.h>

#include <string>

#include "FileHandle.h"
#include "checks/PublisherCheck.h"

TEST(PublisherCheck, OpensOnlyPackagesOfTheProgramsOwnPublisher) {
  const std::wstring folder = PUBLISHER_FOLDER L"\\";
  const std::wstring signedProgram = folder + L"program.exe";
  const struct {
    const char* name;
    std::wstring program;
    const wchar_t* package;
    bool opens;
  } rows[] = {
      {"same publisher", signedProgram, L"same.msi", true},
      {"renewed certificate: same name, new key", signedProgram, L"renewed.msi", true},
      {"another publisher", signedProgram, L"other.msi", false},
      {"impostor: same name from an untrusted root", signedProgram, L"impostor.msi", false},
      {"unsigned package", signedProgram, L"unsigned.msi", false},
      {"unreachable revocation and issuer addresses", signedProgram, L"revocation.msi", true},
      {"unsigned program, unsigned package", UNSIGNED_PROGRAM, L"unsigned.msi", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const CPublisher publisher = ReadPublisher(row.program);
    EXPECT_EQ(row.program == signedProgram, publisher.isSigned);
    const std::wstring package = folder + row.package;
    CFileHandle file;
    ASSERT_TRUE(file.Create(package.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL));
    const wchar_t* const refused = CheckPublisher(publisher, file.Get(), package);
    EXPECT_EQ(row.opens, refused == nullptr)
        << "refused at: " << (refused ? std::string(refused, refused + wcslen(refused)) : "");
  }
}
