#include <gtest/gtest.h>

#include <xercesc/util/PlatformUtils.hpp>

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "Encoding.h"
#include "Exception.h"
#include "LanguageSimpleFile.h"
#include "TestFiles.h"

namespace {

using libi18n::CException;

constexpr int kMutations = 500;

// Header, the first messages and the footer of the built-in catalogue: small
// enough to parse quickly, with its BOM, declaration and CR LF line ends.
std::string SeedDocument() {
  const std::string catalogue = ReadBytes(CATALOGUE_PATH);
  std::string::size_type cut = catalogue.find("<message ");
  for (int i = 0; i < 40 && cut != std::string::npos; ++i) cut = catalogue.find("\r\n", cut + 1);
  const std::string::size_type footer = catalogue.find("  </messages>");
  if (cut == std::string::npos || footer == std::string::npos) return std::string();
  return catalogue.substr(0, cut + 2) + catalogue.substr(footer);
}

class CMutator {
 public:
  explicit CMutator(unsigned seed) : m_random(seed) {}

  std::string Mutate(std::string text) {
    const int rounds = 1 + Below(3);
    for (int i = 0; i < rounds && !text.empty(); ++i) {
      switch (Below(7)) {
        case 0:  // flip bytes
          for (int n = 1 + Below(4); n > 0; --n) text[Below(text.size())] ^= 1 << Below(8);
          break;
        case 1:
          text.resize(Below(text.size()));
          break;
        case 2:
          DuplicateLine(text);
          break;
        case 3:
          text.erase(Below(text.size()), Below(200));
          break;
        case 4:
          text.insert(Below(text.size()), Pick(kSnippets));
          break;
        case 5:
          ChangeEncoding(text);
          break;
        case 6:  // lose or replace the byte-order mark
          text.replace(0, Below(2) ? 3 : 0, Below(2) ? "" : "\xFF\xFE");
          break;
      }
    }
    return text;
  }

 private:
  static const std::vector<std::string> kSnippets, kEncodings;

  std::size_t Below(std::size_t n) { return n == 0 ? 0 : m_random() % n; }
  const std::string& Pick(const std::vector<std::string>& from) { return from[Below(from.size())]; }

  void DuplicateLine(std::string& text) {
    const std::string::size_type start = text.find("    <message", Below(text.size()));
    if (start == std::string::npos) return;
    const std::string::size_type end = text.find("\r\n", start);
    if (end == std::string::npos) return;
    text.insert(Below(2) ? start : end + 2, text.substr(start, end + 2 - start));
  }

  void ChangeEncoding(std::string& text) {
    const std::string::size_type start = text.find("encoding=\"");
    if (start == std::string::npos) return;
    const std::string::size_type end = text.find('"', start + 10);
    if (end != std::string::npos) text.replace(start + 10, end - start - 10, Pick(kEncodings));
  }

  std::mt19937 m_random;
};

const std::vector<std::string> CMutator::kSnippets = {
    "<",
    ">",
    "&",
    "&#0;",
    "&#xD800;",
    "&amp;",
    "<![CDATA[",
    "]]>",
    "<!-- -->",
    "<x/>",
    "</messages>",
    "<messages>",
    "</message>",
    "<message id=\"IDS_X\">",
    "<message>",
    "<?pi?>",
    "\"",
    " id=\"dup\"",
    " xmlns=\"urn:x\"",
    " xmlns:p=\"urn:p\"",
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:type=\"CT_Message\"",
    " xsi:type=\"q:T\"",
    "\xC3",
    "\xFF\xFE",
    "\0",
    "\r\n",
    "\\n",
    "{PRODUCT}",
    "<b>x</b>",
};

const std::vector<std::string> CMutator::kEncodings = {
    "UTF-16", "ISO-8859-1", "US-ASCII", "IBM037", "UTF-32", "windows-1252", "nonsense", "",
};

// Whether a load failure carries one of the messages Load may give.
bool IsKnownFailure(const std::wstring& message, const std::wstring& path) {
  static const wchar_t* const shortTexts[] = {
      L"instance document parsing failed",
      L"unexpected element encountered",
      L"expected element not encountered",
      L"expected attribute not encountered",
      L"expected text content",
      L"no mapping provided for a namespace prefix",
      L"no type information registered for a type",
      L"type is not derived",
  };
  for (const wchar_t* text : shortTexts) {
    if (message == L"load language simple file \"" + path + L"\"\n" + text) return true;
  }
  const std::wstring doubleId = L"double id \"", inFile = L"\" in file \"" + path + L"\"";
  return message.compare(0, doubleId.size(), doubleId) == 0 && message.size() > inFile.size() &&
         message.compare(message.size() - inFile.size(), inFile.size(), inFile) == 0;
}

unsigned ChooseSeed() {
  if (const char* fixed = std::getenv("LIBI18N_TEST_SEED")) return std::strtoul(fixed, nullptr, 10);
  return static_cast<unsigned>(std::time(nullptr));
}

TEST(Robustness, MutatedCatalogueLoadsOrFailsCleanly) {
  const unsigned seed = ChooseSeed();
  SCOPED_TRACE("seed " + std::to_string(seed) + " (rerun with LIBI18N_TEST_SEED)");
  const std::string original = SeedDocument();
  ASSERT_FALSE(original.empty());
  const std::string schema = ReadBytes(SCHEMA_PATH);
  ASSERT_FALSE(schema.empty());

  // Keeps the XML library initialised across the loads, which saves its
  // start-up on every parse.
  xercesc::XMLPlatformUtils::Initialize();
  CTempDir temp;
  CTempOverride tmp(temp.Path() + L"\\");
  const std::wstring path = temp / L"mutated.xml";
  CMutator mutator(seed);
  int loaded = 0;
  for (int i = 0; i < kMutations && !HasFailure(); ++i) {
    WriteFile(path, mutator.Mutate(original));
    const bool validate = i % 10 == 0;
    libi18n::CLanguageSimpleFile file;
    try {
      file.Load(path, validate ? schema : std::string());
      ++loaded;
    } catch (const CException& e) {
      EXPECT_TRUE(IsKnownFailure(Utf8ToWide(e.what()), path))
          << "mutation " << i << ": " << e.what();
    } catch (const std::exception& e) {
      ADD_FAILURE() << "mutation " << i << ": unexpected exception " << e.what();
    } catch (...) {
      ADD_FAILURE() << "mutation " << i << ": exception of another type";
    }
    EXPECT_FALSE(HasSchemaFolder(temp.Path())) << "mutation " << i;
  }
  xercesc::XMLPlatformUtils::Terminate();
  std::cout << "seed " << seed << ": " << loaded << " of " << kMutations << " mutations loaded\n";
  EXPECT_GT(loaded, 0);
}

}  // namespace
