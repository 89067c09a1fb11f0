#include <gtest/gtest.h>

#include <string>

#include "Encoding.h"
#include "Exception.h"
#include "LanguageSimpleFile.h"
#include "TestFiles.h"

namespace {

using libi18n::CException;

const char kSecret[] = "SECRET-7f3a";

// Ten levels of ten references: a billion "lol"s once expanded.
std::string BillionLaughs() {
  std::string doctype = "<!DOCTYPE language [\n<!ENTITY lol0 \"lol\">\n";
  for (int level = 1; level < 10; ++level) {
    doctype += "<!ENTITY lol" + std::to_string(level) + " \"";
    for (int i = 0; i < 10; ++i) doctype += "&lol" + std::to_string(level - 1) + ";";
    doctype += "\">\n";
  }
  return doctype +
         "]>\n<language><messages><message id=\"a\">&lol9;</message></messages></language>";
}

std::string Repeated(const std::string& text, int count) {
  std::string repeated;
  for (int i = 0; i < count; ++i) repeated += text;
  return repeated;
}

// A language file must not reach other files or expand without bound: any
// DOCTYPE fails the parse, and nothing of another file shows.
TEST(HostileFile, NeitherReadsOtherFilesNorExpandsWithoutBound) {
  CTempDir dir;
  WriteFixture(dir, L"secret.txt", kSecret);
  WriteFixture(dir, L"secret.dtd", std::string("<!ENTITY secret \"") + kSecret + "\">");
  const struct {
    const char* name;
    std::string bytes;
    bool loads;
    const wchar_t* text;  // of message "a" when the file loads
  } cases[] = {
      {"external entity naming a local file",
       "<!DOCTYPE language [<!ENTITY secret SYSTEM \"secret.txt\">]>\n"
       "<language><messages><message id=\"a\">[&secret;]</message></messages></language>",
       false, nullptr},
      {"external DTD declaring the entity",
       "<!DOCTYPE language SYSTEM \"secret.dtd\">\n"
       "<language><messages><message id=\"a\">[&secret;]</message></messages></language>",
       false, nullptr},
      {"billion laughs", BillionLaughs(), false, nullptr},
      {"one large entity copied many times",
       "<!DOCTYPE language [<!ENTITY big \"" + std::string(20000, 'x') + "\">]>\n" +
           "<language><messages><message id=\"a\">" + Repeated("&big;", 4000) +
           "</message></messages></language>",
       false, nullptr},
      {"predefined and character references still work",
       "<language><messages><message id=\"a\">&amp;&lt;&#65;</message></messages></language>", true,
       L"&<A"},
  };
  for (const auto& c : cases) {
    const std::wstring path = WriteFixture(dir, L"hostile.xml", c.bytes);
    libi18n::CLanguageSimpleFile file;
    std::wstring failure;
    try {
      file.Load(path, std::string());
    } catch (const CException& e) {
      failure = Utf8ToWide(e.what());
    }
    if (c.loads) {
      EXPECT_EQ(L"", failure) << c.name;
      EXPECT_EQ(1u, file.MessageCount()) << c.name;
      EXPECT_EQ(c.text, file.GetMessageText(L"a")) << c.name;
    } else {
      EXPECT_EQ(L"load language simple file \"" + path + L"\"\ninstance document parsing failed",
                failure)
          << c.name;
      EXPECT_EQ(0u, file.MessageCount()) << c.name;
    }
    EXPECT_EQ(std::wstring::npos, file.GetMessageText(L"a").find(Utf8ToWide(kSecret))) << c.name;
  }
}

}  // namespace
