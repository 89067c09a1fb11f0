#include "ControlCharEscapes.h"
#include "Translator.h"

#include <gtest/gtest.h>

#include <boost/weak_ptr.hpp>

#include "TestFiles.h"
#include "TestTexts.h"

namespace {

using libi18n::CMessageTranslator;
using Translator = boost::shared_ptr<CMessageTranslator>;

TEST(ControlChars, Escape) {
  const struct {
    const wchar_t *text, *expected;
  } cases[] = {
      {L"", L""},
      {L"plain", L"plain"},
      {L"&New\tCtrl+N", L"&New\\tCtrl+N"},
      {L"a\r\nb", L"a\\r\\nb"},
      {L"\n\n", L"\\n\\n"},
      {L"back\\slash", L"back\\slash"},  // a backslash has no escape
      {L"\\n", L"\\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, libi18n::EscapeControlChars(c.text)) << c.text;
}

TEST(ControlChars, Unescape) {
  const struct {
    const wchar_t *text, *expected;
  } cases[] = {
      {L"", L""},
      {L"one\\ntwo", L"one\ntwo"},
      {L"\\r\\n\\t", L"\r\n\t"},
      {L"a\\\\nb", L"a\\\nb"},  // backslash, then the line feed
      {L"\\x\\\\ \\N", L"\\x\\\\ \\N"},
      {L"\\", L"\\"},
      {L"{PRODUCT}\\n", L"{PRODUCT}\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, libi18n::UnescapeControlChars(c.text)) << c.text;
  }
}

// Leaves the process without a translator, whatever a test installed.
class ProcessTranslator : public ::testing::Test {
 protected:
  void SetUp() override { libi18n::SetTranslator(Translator()); }
  void TearDown() override { libi18n::SetTranslator(Translator()); }
};

TEST_F(ProcessTranslator, NothingInstalled) {
  EXPECT_EQ(L"", libi18n::GetTranslation(L"IDS_DOWNLOADER_ERROR"));
  EXPECT_FALSE(libi18n::HasTranslation(L"Cancel"));
}

TEST_F(ProcessTranslator, RejectedFileGivesNoTranslator) {
  CTempDir dir;
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"duplicate identifier",
       LanguageFile("<message id=\"a\">1</message><message id=\"a\">2</message>")},
      {"not well-formed", "<language>"},
      {"no messages", "<language/>"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(libi18n::CreateTranslator(WriteFixture(dir, L"bad.xml", c.bytes))) << c.name;
  }
  EXPECT_FALSE(libi18n::CreateTranslator(dir / L"missing.xml"));
}

TEST_F(ProcessTranslator, BuiltInCatalogue) {
  const Translator translator = libi18n::CreateTranslator(CATALOGUE_PATH);
  ASSERT_TRUE(translator);
  libi18n::SetTranslator(translator);
  const struct {
    const wchar_t *id, *text;
  } cases[] = {
      {L"IDS_DOWNLOADER_ERROR", kDownloadErrorText},
      {L"Download {PRODUCT}", L"Download {PRODUCT}"},
      {L"Cancel", L"Cancel"},
      {L"&New\tCtrl+N", L"&New\tCtrl+N"},
      {L"cancel", L""},
      {L"Cancel ", L""},
      {L"", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.text, libi18n::GetTranslation(c.id)) << c.id;
    EXPECT_EQ(*c.text != L'\0', libi18n::HasTranslation(c.id)) << c.id;
    EXPECT_EQ(c.text, translator->GetMessageText(c.id)) << c.id;
  }
}

TEST_F(ProcessTranslator, InstallingReplacesAndReleases) {
  CTempDir dir;
  boost::weak_ptr<CMessageTranslator> first = libi18n::CreateTranslator(
      WriteFixture(dir, L"1.xml", LanguageFile("<message id=\"a\">1</message>")));
  Translator second = libi18n::CreateTranslator(
      WriteFixture(dir, L"2.xml", LanguageFile("<message id=\"b\">2</message>")));
  ASSERT_TRUE(second);
  EXPECT_TRUE(first.expired());  // nobody held the first one

  Translator third = libi18n::CreateTranslator(
      WriteFixture(dir, L"3.xml", LanguageFile("<message id=\"a\">3</message>")));
  boost::weak_ptr<CMessageTranslator> secondWeak = second;
  libi18n::SetTranslator(second);
  second.reset();
  EXPECT_EQ(L"", libi18n::GetTranslation(L"a"));
  EXPECT_EQ(L"2", libi18n::GetTranslation(L"b"));
  EXPECT_FALSE(secondWeak.expired());  // the process holds it now

  libi18n::SetTranslator(third);
  EXPECT_TRUE(secondWeak.expired());
  EXPECT_EQ(L"3", libi18n::GetTranslation(L"a"));
  EXPECT_FALSE(libi18n::HasTranslation(L"b"));
  EXPECT_EQ(2, third.use_count());
}

}  // namespace
