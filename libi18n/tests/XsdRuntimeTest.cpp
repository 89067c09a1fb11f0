#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "Encoding.h"
#include "Exception.h"
#include "ExceptionText.h"
#include "LanguageSimpleFile.h"
#include "TestFiles.h"

namespace {

using libi18n::CLanguageSimpleFile;

const std::string kXsi =
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xmlns:xs=\"http://www.w3.org/2001/XMLSchema\"";

// The load's short text, after the line that names the file.
std::wstring ShortLoadFailure(const std::wstring& path) {
  CLanguageSimpleFile file;
  try {
    file.Load(path, std::string());
  } catch (const libi18n::CException& e) {
    const std::wstring message = Utf8ToWide(e.what());
    return message.substr(message.find(L'\n') + 1);
  }
  return L"no exception";
}

// Every name of the XML Schema namespace that xsi:type may give a message,
// with a text and with an element inside: the model builds the named type
// from the element first, so the name decides which failure is reported.
TEST(XsiType, EachBuiltInTypeNameKeepsItsOutcome) {
  const std::wstring notDerived = L"type is not derived", noText = L"expected text content",
                     unknown = L"no type information registered for a type";
  const struct {
    const char* type;
    std::wstring withText, withElement;
  } cases[] = {
      {"anyType", notDerived, notDerived},
      {"anySimpleType", notDerived, notDerived},
      {"string", notDerived, noText},
      {"normalizedString", notDerived, noText},
      {"token", notDerived, noText},
      {"Name", notDerived, noText},
      {"NMTOKEN", notDerived, noText},
      {"NMTOKENS", notDerived, noText},
      {"NCName", notDerived, noText},
      {"language", notDerived, noText},
      {"ID", notDerived, noText},
      {"IDREF", notDerived, noText},
      {"IDREFS", notDerived, noText},
      {"anyURI", notDerived, noText},
      {"QName", notDerived, noText},
      {"base64Binary", notDerived, noText},
      {"hexBinary", notDerived, noText},
      {"gDay", notDerived, noText},
      {"gMonth", notDerived, noText},
      {"gYear", notDerived, noText},
      {"gMonthDay", notDerived, noText},
      {"gYearMonth", notDerived, noText},
      {"date", notDerived, noText},
      {"time", notDerived, noText},
      {"dateTime", notDerived, noText},
      {"duration", notDerived, noText},
      {"ENTITY", notDerived, noText},
      {"ENTITIES", notDerived, noText},
      // Numbers, booleans and misspelt names have no entry in the map.
      {"boolean", unknown, unknown},
      {"int", unknown, unknown},
      {"double", unknown, unknown},
      {"decimal", unknown, unknown},
      {"Date", unknown, unknown},
  };
  CTempDir dir;
  for (const auto& c : cases) {
    const std::string message = "<message xsi:type=\"xs:" + std::string(c.type) + "\" id=\"a\">";
    const std::wstring withText = WriteFixture(
        dir, L"text.xml",
        "<language" + kXsi + "><messages>" + message + "P1Y2M</message></messages></language>");
    const std::wstring withElement = WriteFixture(
        dir, L"element.xml",
        "<language" + kXsi + "><messages>" + message + "1<b/></message></messages></language>");
    EXPECT_EQ(c.withText, ShortLoadFailure(withText)) << c.type;
    EXPECT_EQ(c.withElement, ShortLoadFailure(withElement)) << c.type;
  }
}

// The document element is matched by name first, then built as xsi:type says.
TEST(XsiType, DocumentElement) {
  const struct {
    const char* name;
    std::string bytes;
    const wchar_t* shortText;
  } cases[] = {
      {"its own type", "<language" + kXsi + " xsi:type=\"CT_Language\"><messages/></language>",
       L"no exception"},
      {"unrelated type", "<language" + kXsi + " xsi:type=\"CT_Messages\"><messages/></language>",
       L"type is not derived"},
      {"built-in type", "<language" + kXsi + " xsi:type=\"xs:date\">1</language>",
       L"type is not derived"},
      {"unknown type", "<language" + kXsi + " xsi:type=\"CT_Other\"/>",
       L"no type information registered for a type"},
      {"other name with a type", "<catalogue" + kXsi + " xsi:type=\"CT_Other\"/>",
       L"unexpected element encountered"},
  };
  CTempDir dir;
  for (const auto& c : cases)
    EXPECT_EQ(c.shortText, ShortLoadFailure(WriteFixture(dir, L"root.xml", c.bytes))) << c.name;
}

// The runtime's exceptions print their usual wording.
TEST(ExceptionText, PrintsTheRuntimeWording) {
  using namespace xsd::cxx::tree;
  xsd::cxx::tree::diagnostics<wchar_t> errors;
  errors.push_back(error<wchar_t>(severity::error, L"a.xml", 3, 14, L"bad"));
  errors.push_back(error<wchar_t>(severity::warning, L"b.xml", 0, 120, L"odd"));
  const struct {
    std::shared_ptr<const exception<wchar_t>> thrown;
    const wchar_t* text;
  } cases[] = {
      {std::make_shared<parsing<wchar_t>>(), L"instance document parsing failed"},
      {std::make_shared<parsing<wchar_t>>(errors),
       L"a.xml:3:14 error: bad\nb.xml:0:120 warning: odd"},
      {std::make_shared<expected_element<wchar_t>>(L"messages", L""),
       L"expected element 'messages'"},
      {std::make_shared<expected_element<wchar_t>>(L"messages", L"urn:x"),
       L"expected element 'urn:x#messages'"},
      {std::make_shared<unexpected_element<wchar_t>>(L"catalogue", L"urn:x", L"language", L""),
       L"expected element 'language' instead of 'urn:x#catalogue'"},
      {std::make_shared<unexpected_element<wchar_t>>(L"b", L"", L"", L""),
       L"unexpected element 'b'"},
      {std::make_shared<expected_attribute<wchar_t>>(L"id", L""), L"expected attribute 'id'"},
      {std::make_shared<unexpected_enumerator<wchar_t>>(L"x"), L"unexpected enumerator 'x'"},
      {std::make_shared<expected_text_content<wchar_t>>(), L"expected text content"},
      {std::make_shared<no_type_info<wchar_t>>(L"CT_Other", L"urn:x"),
       L"no type information available for type 'urn:x#CT_Other'"},
      {std::make_shared<no_element_info<wchar_t>>(L"language", L""),
       L"no parsing or serialization information available for element 'language'"},
      {std::make_shared<not_derived<wchar_t>>(L"CT_Messages", L"", L"CT_Message", L"urn:b"),
       L"type 'urn:b#CT_Message' is not derived from 'CT_Messages'"},
      {std::make_shared<not_derived<wchar_t>>(), L"type '' is not derived from ''"},
      {std::make_shared<duplicate_id<wchar_t>>(L"a"), L"ID 'a' already exist"},
      {std::make_shared<no_prefix_mapping<wchar_t>>(L"q"),
       L"no mapping provided for namespace prefix 'q'"},
      {std::make_shared<bounds<wchar_t>>(), L"buffer boundary rules have been violated"},
  };
  for (const auto& c : cases) {
    std::wostringstream printed;
    printed << *c.thrown;
    EXPECT_EQ(c.text, printed.str()) << c.thrown->what();
  }
}

}  // namespace
