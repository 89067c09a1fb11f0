#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "Encoding.h"
#include "LanguageSimpleFile.h"
#include "TestFiles.h"
#include "ControlCharEscapes.h"

namespace {

struct Message {
  std::wstring id, text;
};

std::string XmlUnescape(std::string text) {
  const struct {
    const char *entity, *character;
  } entities[] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
  for (const auto& e : entities) {
    for (std::string::size_type at = text.find(e.entity); at != std::string::npos;
         at = text.find(e.entity, at + 1))
      text.replace(at, std::char_traits<char>::length(e.entity), e.character);
  }
  return text;
}

// The catalogue is written one message per line by our generator, which is
// what lets the test read it without an XML parser.
std::vector<Message> ReadMessageLines(const std::string& bytes) {
  std::vector<Message> messages;
  const std::string open = "    <message id=\"", close = "</message>";
  std::istringstream lines(bytes);
  for (std::string line; std::getline(lines, line);) {
    if (line.compare(0, open.size(), open) != 0) continue;
    const auto idEnd = line.find("\">", open.size());
    const auto textEnd = line.rfind(close);
    if (idEnd == std::string::npos || textEnd == std::string::npos) {
      ADD_FAILURE() << "malformed line: " << line;
      continue;
    }
    messages.push_back({Utf8ToWide(XmlUnescape(line.substr(open.size(), idEnd - open.size()))),
                        Utf8ToWide(XmlUnescape(line.substr(idEnd + 2, textEnd - idEnd - 2)))});
  }
  return messages;
}

// The English catalogue first; the localized ones hold the same messages.
const wchar_t* const kCatalogues[] = {CATALOGUE_PATH, LOCALIZED_CATALOGUES};

std::vector<std::wstring> Identifiers(const std::vector<Message>& messages) {
  std::vector<std::wstring> ids;
  for (const Message& m : messages) ids.push_back(m.id);
  return ids;
}

TEST(Catalogue, FileLayout) {
  const std::vector<std::wstring> englishIds =
      Identifiers(ReadMessageLines(ReadBytes(CATALOGUE_PATH)));
  for (const wchar_t* catalogue : kCatalogues) {
    SCOPED_TRACE(WideToUtf8(catalogue));
    const std::string bytes = ReadBytes(catalogue);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(0u, bytes.find("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" "
                             "standalone=\"no\"?>\r\n"));
    EXPECT_EQ(std::string::npos, bytes.find("<!DOCTYPE"));
    for (std::string::size_type at = bytes.find('\n'); at != std::string::npos;
         at = bytes.find('\n', at + 1))
      ASSERT_EQ('\r', bytes[at - 1]) << "bare line feed at byte " << at;
    EXPECT_EQ(std::string::npos, bytes.find('\t'));

    const std::vector<Message> messages = ReadMessageLines(bytes);
    ASSERT_EQ(1388u, messages.size());
    for (std::size_t i = 0; i < messages.size(); ++i) {
      EXPECT_FALSE(messages[i].text.empty()) << messages[i].id;
      if (i > 0) {
        EXPECT_LT(messages[i - 1].id, messages[i].id) << "order or duplicate";
      }
    }
    EXPECT_TRUE(englishIds == Identifiers(messages)) << "not the English identifiers";
  }
}

TEST(Catalogue, LoadsEveryMessage) {
  for (const wchar_t* catalogue : kCatalogues) {
    SCOPED_TRACE(WideToUtf8(catalogue));
    const std::vector<Message> messages = ReadMessageLines(ReadBytes(catalogue));
    libi18n::CLanguageSimpleFile file;
    file.Load(catalogue, std::string());
    EXPECT_EQ(1388u, file.MessageCount());
    for (const Message& m : messages) {
      // Looked up the way a window text arrives: with real control characters.
      const std::wstring windowText = libi18n::UnescapeControlChars(m.id);
      EXPECT_TRUE(file.HasMessage(windowText)) << m.id;
      EXPECT_EQ(libi18n::UnescapeControlChars(m.text), file.GetMessageText(windowText)) << m.id;
    }
  }
}

}  // namespace
