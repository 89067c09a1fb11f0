#include "Schema.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "Encoding.h"
#include "Exception.h"
#include "LanguageSimpleFile.h"
#include "TestFiles.h"

namespace {

using libi18n::CException;
using libi18n::CLanguageSimpleFile;
using libi18n::CSchema;

std::wstring FailureOf(CLanguageSimpleFile& file, const std::wstring& path,
                       const std::string& schema) {
  try {
    file.Load(path, schema);
  } catch (const CException& e) {
    return Utf8ToWide(e.what());
  }
  return L"no exception";
}

TEST(Schema, SavesBytesUnchangedInOwnFolder) {
  CTempDir temp;
  CTempOverride tmp(temp.Path() + L"\\");
  const std::string text = "<?xml version=\"1.0\"?>\r\n<x>\xC3\xA9\0</x>\n";
  {
    CSchema schema;
    const std::wstring path = schema.Save(text);
    EXPECT_EQ(temp / L"i18n\\schema.xsd", path);
    EXPECT_EQ(text, ReadBytes(path));
    WriteFile(temp / L"i18n\\extra.txt", "left by someone");
  }
  EXPECT_FALSE(HasSchemaFolder(temp.Path()));
}

TEST(Schema, SecondSaveReplacesFirstFolder) {
  CTempDir temp;
  CTempOverride tmp(temp.Path() + L"\\");
  CSchema schema;
  schema.Save("first");
  CreateDirectoryW((temp / L"i18n\\sub").c_str(), nullptr);
  WriteFile(temp / L"i18n\\sub\\file.txt", "x");
  const std::wstring path = schema.Save("second");
  EXPECT_EQ(temp / L"i18n\\schema.xsd", path);
  EXPECT_EQ("second", ReadBytes(path));
  EXPECT_FALSE(IsDirectory(temp / L"i18n\\sub"));
}

TEST(Schema, ExistingFolderGetsNumberedNeighbour) {
  CTempDir temp;
  CTempOverride tmp(temp.Path() + L"\\");
  ASSERT_TRUE(CreateDirectoryW((temp / L"i18n").c_str(), nullptr));
  std::wstring path;
  {
    CSchema schema;
    path = schema.Save("x");
    const std::wstring folder = path.substr(0, path.rfind(L'\\'));
    const std::wstring name = folder.substr(folder.rfind(L'\\') + 1);
    EXPECT_EQ(0u, name.find(L"i18n"));
    EXPECT_GT(name.size(), 4u);
    EXPECT_EQ(std::wstring::npos, name.find_first_not_of(L"0123456789", 4)) << name;
  }
  EXPECT_FALSE(IsDirectory(path.substr(0, path.rfind(L'\\'))));
  EXPECT_TRUE(IsDirectory(temp / L"i18n"));  // not ours to remove
}

TEST(Schema, FolderThatCannotBeCreated) {
  CTempDir temp;
  WriteFile(temp / L"file", "a file where the temporary folder should be");
  CTempOverride tmp(temp / L"file\\");
  CSchema schema;
  try {
    schema.Save("x");
    ADD_FAILURE() << "no exception";
  } catch (const CException& e) {
    EXPECT_STREQ("create tmp folder for schema", e.what());
  }

  // Load reports it unwrapped.
  const std::wstring path = WriteFixture(temp, L"ok.xml", LanguageFile(""));
  CLanguageSimpleFile file;
  EXPECT_EQ(L"create tmp folder for schema", FailureOf(file, path, "x"));
}

TEST(Schema, LoadValidatesAgainstSchemaText) {
  const std::string schema = ReadBytes(SCHEMA_PATH);
  ASSERT_FALSE(schema.empty());
  CTempDir temp;
  CTempOverride tmp(temp.Path() + L"\\");
  CTempDir files;
  const struct {
    const char* name;
    std::string bytes;
    bool valid;
  } cases[] = {
      {"valid", LanguageFile("<message id=\"a\">1</message><message id=\"b\"/>"), true},
      {"unknown element", LanguageFile("<message id=\"a\">1</message><other/>"), false},
      {"unknown attribute", LanguageFile("<message id=\"a\" lang=\"en\">1</message>"), false},
      {"second messages", LanguageFile("</messages><messages>"), false},
  };
  for (const auto& c : cases) {
    const std::wstring path = WriteFixture(files, L"case.xml", c.bytes);
    CLanguageSimpleFile file;
    // Without a schema the same file loads.
    EXPECT_TRUE(file.LoadFile(path)) << c.name;
    const std::wstring failure = FailureOf(file, path, schema);
    if (c.valid) {
      EXPECT_EQ(L"no exception", failure) << c.name;
    } else {
      EXPECT_EQ(L"load language simple file \"" + path + L"\"\ninstance document parsing failed",
                failure)
          << c.name;
      EXPECT_EQ(0u, file.MessageCount()) << c.name;
    }
    EXPECT_FALSE(HasSchemaFolder(temp.Path())) << c.name;
  }

  CLanguageSimpleFile catalogue;
  EXPECT_EQ(L"no exception", FailureOf(catalogue, CATALOGUE_PATH, schema));
  EXPECT_EQ(1388u, catalogue.MessageCount());
  EXPECT_FALSE(HasSchemaFolder(temp.Path()));
}

}  // namespace
