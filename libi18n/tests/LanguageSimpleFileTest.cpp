#include "LanguageSimpleFile.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "Encoding.h"
#include "Exception.h"
#include "TestFiles.h"
#include "ControlCharEscapes.h"

namespace {

using libi18n::CException;
using libi18n::CLanguageSimpleFile;
using Table = std::vector<std::pair<std::wstring, std::wstring>>;

// Checks the whole table; identifiers and texts as the file writes them.
void ExpectTable(const CLanguageSimpleFile& file, const Table& expected, const char* name) {
  EXPECT_EQ(expected.size(), file.MessageCount()) << name;
  for (const auto& entry : expected) {
    const std::wstring windowText = libi18n::UnescapeControlChars(entry.first);
    EXPECT_TRUE(file.HasMessage(windowText)) << name << ": " << entry.first;
    EXPECT_EQ(libi18n::UnescapeControlChars(entry.second), file.GetMessageText(windowText))
        << name << ": " << entry.first;
  }
}

// Little-endian with a byte-order mark.
std::string Utf16File(const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (const wchar_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::wstring LoadError(const std::wstring& path, const std::wstring& shortText) {
  return L"load language simple file \"" + path + L"\"\n" + shortText;
}

// Runs Load and returns the message of the CException, or "no exception".
std::wstring LoadFailure(CLanguageSimpleFile& file, const std::wstring& path) {
  try {
    file.Load(path, std::string());
  } catch (const CException& e) {
    return Utf8ToWide(e.what());
  }
  return L"no exception";
}

TEST(LanguageSimpleFile, LoadsMessages) {
  const struct {
    const char* name;
    std::string bytes;
    Table expected;
  } cases[] = {
      {"no messages", LanguageFile(""), {}},
      {"empty text",
       LanguageFile("<message id=\"a\"/><message id=\"b\"></message>"),
       {{L"a", L""}, {L"b", L""}}},
      {"whitespace kept, CR LF read as LF",
       LanguageFile("<message id=\"a\">  one\r\n two\t </message>"),
       {{L"a", L"  one\n two\t "}}},
      {"comment dropped, text joined",
       LanguageFile("<message id=\"a\">on<!-- x -->e</message>"),
       {{L"a", L"one"}}},
      {"CDATA joined with text",
       LanguageFile("<message id=\"a\">&lt;<![CDATA[<b>&amp;]]>&#x263A;</message>"),
       {{L"a", L"<<b>&amp;\u263A"}}},
      {"xml:space has no effect",
       "<language xml:space=\"default\"><messages xml:space=\"default\">\n"
       "  <message id=\"a\" xml:space=\"default\"> x  y </message>\n</messages></language>",
       {{L"a", L" x  y "}}},
      {"case and trailing blank make different identifiers",
       LanguageFile("<message id=\"Cancel\">1</message><message id=\"cancel\">2</message>"
                    "<message id=\"Cancel \">3</message>"),
       {{L"Cancel", L"1"}, {L"cancel", L"2"}, {L"Cancel ", L"3"}}},
      {"backslash sequences stored as written",
       LanguageFile("<message id=\"a\\nb\">c\\td\\\\n</message>"),
       {{L"a\\nb", L"c\\td\\\\n"}}},
      {"attribute normalisation turns a line break into a blank",
       LanguageFile("<message id=\"a\nb\tc\">x</message>"),
       {{L"a b c", L"x"}}},
      {"child elements matched by local name",
       "<language xmlns:p=\"urn:p\"><p:messages><message id=\"a\">1</message>"
       "<p:message id=\"b\" xmlns:p=\"urn:q\">2</p:message></p:messages></language>",
       {{L"a", L"1"}, {L"b", L"2"}}},
      {"prefixed id does not hide id",
       "<language xmlns:p=\"urn:p\"><messages>"
       "<message p:id=\"x\" id=\"a\" other=\"y\">1</message></messages></language>",
       {{L"a", L"1"}}},
      {"other elements, text and instructions skipped",
       "<language>text<other/><?pi x?><messages>text<message id=\"a\">1</message>"
       "<other><message id=\"nested\">n</message></other><?pi y?>"
       "<message id=\"b\">2</message></messages><after/></language>",
       {{L"a", L"1"}, {L"b", L"2"}}},
      {"only the first messages element counts",
       LanguageFile("<message id=\"a\">1</message></messages><messages>"
                    "<message id=\"a\">again</message><message id=\"b\">2</message>"),
       {{L"a", L"1"}}},
      {"xsi:type naming the expected types",
       "<language xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:type=\"CT_Language\">"
       "<messages xsi:type=\"CT_Messages\"><message xsi:type=\"CT_Message\" id=\"a\">1</message>"
       "</messages></language>",
       {{L"a", L"1"}}},
      {"UTF-16 with byte-order mark",
       Utf16File(L"<language><messages><message id=\"\u00A9\">\u263A</message></messages>"
                 L"</language>"),
       {{L"\u00A9", L"\u263A"}}},
      {"UTF-8 with byte-order mark and Cyrillic, as the built-in catalogues",
       "\xEF\xBB\xBF" + LanguageFile(WideToUtf8(L"<message id=\"\u0417\u0430\u0433\u0440\u0443"
                                                L"\u0437\u043A\u0430\">\u041E\u0442\u043C\u0435"
                                                L"\u043D\u0430 \u0401</message>")),
       {{L"\u0417\u0430\u0433\u0440\u0443\u0437\u043A\u0430",
         L"\u041E\u0442\u043C\u0435\u043D\u0430 \u0401"}}},
      {"declared single-byte encoding",
       "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><language><messages>"
       "<message id=\"caf\xE9\">\xE9</message></messages></language>",
       {{L"caf\u00E9", L"\u00E9"}}},
  };
  CTempDir dir;
  for (const auto& c : cases) {
    const std::wstring path = WriteFixture(dir, L"case.xml", c.bytes);
    CLanguageSimpleFile file;
    try {
      file.Load(path, std::string());
    } catch (const CException& e) {
      ADD_FAILURE() << c.name << ": " << e.what();
      continue;
    }
    ExpectTable(file, c.expected, c.name);
  }
}

TEST(LanguageSimpleFile, RejectsBadFiles) {
  const std::string xsi = " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"";
  const struct {
    const char* name;
    std::string bytes;
    const wchar_t* shortText;
  } cases[] = {
      {"empty file", "", L"instance document parsing failed"},
      {"not well-formed", "<language><messages></language>", L"instance document parsing failed"},
      // The DOM builder throws for this one instead of reporting it.
      {"unknown XML version", "<?xml version=\"1.p\"?><language><messages/></language>",
       L"instance document parsing failed"},
      {"undeclared entity", LanguageFile("<message id=\"a\">&nbsp;</message>"),
       L"instance document parsing failed"},
      {"other document element", "<catalogue><messages/></catalogue>",
       L"unexpected element encountered"},
      {"document element in a namespace", "<language xmlns=\"urn:x\"><messages/></language>",
       L"unexpected element encountered"},
      {"no messages", "<language><message id=\"a\">1</message></language>",
       L"expected element not encountered"},
      {"message without id", LanguageFile("<message>1</message>"),
       L"expected attribute not encountered"},
      {"only a prefixed id",
       "<language xmlns:p=\"urn:p\"><messages><message p:id=\"a\"/>"
       "</messages></language>",
       L"expected attribute not encountered"},
      {"message without id in a later messages element",
       LanguageFile("<message id=\"a\">1</message></messages><messages><message>2</message>"),
       L"expected attribute not encountered"},
      {"element inside a message", LanguageFile("<message id=\"a\">1<b>2</b></message>"),
       L"expected text content"},
      {"xsi:type with an undeclared prefix",
       "<language" + xsi + "><messages><message xsi:type=\"q:T\" id=\"a\"/></messages></language>",
       L"no mapping provided for a namespace prefix"},
      {"xsi:type naming an unknown type",
       "<language" + xsi +
           "><messages><message xsi:type=\"CT_Other\" id=\"a\"/></messages>"
           "</language>",
       L"no type information registered for a type"},
      {"xsi:type naming an unrelated type",
       "<language" + xsi + "><messages xsi:type=\"CT_Message\" id=\"a\"/></language>",
       L"type is not derived"},
      {"xsi:type naming a built-in type",
       "<language" + xsi +
           " xmlns:xs=\"http://www.w3.org/2001/XMLSchema\"><messages>"
           "<message xsi:type=\"xs:string\" id=\"a\"/></messages></language>",
       L"type is not derived"},
  };
  CTempDir dir;
  for (const auto& c : cases) {
    const std::wstring path = WriteFixture(dir, L"bad.xml", c.bytes);
    CLanguageSimpleFile file;
    EXPECT_EQ(LoadError(path, c.shortText), LoadFailure(file, path)) << c.name;
    EXPECT_EQ(0u, file.MessageCount()) << c.name;
    EXPECT_FALSE(file.LoadFile(path)) << c.name;
  }
}

TEST(LanguageSimpleFile, MissingFileFailsToParse) {
  CTempDir dir;
  CLanguageSimpleFile file;
  const std::wstring path = dir / L"missing.xml";
  EXPECT_EQ(LoadError(path, L"instance document parsing failed"), LoadFailure(file, path));
}

TEST(LanguageSimpleFile, DuplicateIdentifierKeepsEarlierMessages) {
  CTempDir dir;
  const std::wstring path =
      WriteFixture(dir, L"double.xml",
                   LanguageFile("<message id=\"b\">1</message><message id=\"a\">2</message>"
                                "<message id=\"b\">3</message><message id=\"c\">4</message>"));
  CLanguageSimpleFile file;
  EXPECT_EQ(L"double id \"b\" in file \"" + path + L"\"", LoadFailure(file, path));
  ExpectTable(file, {{L"b", L"1"}, {L"a", L"2"}}, "partial table");
}

TEST(LanguageSimpleFile, LoadReplacesTheWholeTable) {
  CTempDir dir;
  const std::wstring big = WriteFixture(
      dir, L"big.xml", LanguageFile("<message id=\"a\">1</message><message id=\"b\">2</message>"));
  const std::wstring small =
      WriteFixture(dir, L"small.xml", LanguageFile("<message id=\"c\">3</message>"));
  const std::wstring bad = WriteFixture(dir, L"bad.xml", "<language/>");
  CLanguageSimpleFile file;
  ASSERT_TRUE(file.LoadFile(big));
  ASSERT_TRUE(file.LoadFile(small));
  ExpectTable(file, {{L"c", L"3"}}, "second load");
  EXPECT_FALSE(file.LoadFile(bad));
  EXPECT_EQ(0u, file.MessageCount());
}

TEST(LanguageSimpleFile, LookupEscapesIdentifierAndUnescapesText) {
  CTempDir dir;
  const std::wstring path =
      WriteFixture(dir, L"escapes.xml",
                   LanguageFile("<message id=\"&amp;New\\tCtrl+N\">&amp;Neu\\tStrg+N</message>"
                                "<message id=\"two\\r\\nlines\">one\\ntwo</message>"
                                "<message id=\"slash\">a\\\\nb\\x</message>"
                                "<message id=\"Download {PRODUCT}\">Download {PRODUCT}</message>"));
  CLanguageSimpleFile file;
  ASSERT_TRUE(file.LoadFile(path));
  const struct {
    const wchar_t *id, *text;
    bool found;
  } cases[] = {
      {L"&New\tCtrl+N", L"&Neu\tStrg+N", true},
      {L"&New\\tCtrl+N", L"&Neu\tStrg+N", true},  // already escaped: same key
      {L"two\r\nlines", L"one\ntwo", true},
      {L"slash", L"a\\\nb\\x", true},
      {L"Download {PRODUCT}", L"Download {PRODUCT}", true},
      {L"&New Ctrl+N", L"", false},
      {L"", L"", false},
      {L"unknown", L"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.found, file.HasMessage(c.id)) << c.id;
    EXPECT_EQ(c.text, file.GetMessageText(c.id)) << c.id;
  }
}

}  // namespace
