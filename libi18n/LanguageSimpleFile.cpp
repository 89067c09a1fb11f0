#include "LanguageSimpleFile.h"

#include <xercesc/dom/DOMException.hpp>
#include <xercesc/util/XMLException.hpp>

#include <map>

#include "DocumentParser.h"
#include "Encoding.h"
#include "Exception.h"
#include "Schema.h"
#include "ControlCharEscapes.h"
#include "XmlLibraryReference.h"
#include "language_simple.hxx"

namespace libi18n {

namespace {

std::wstring ShortText(const xsd::cxx::tree::exception<wchar_t>& e) {
  // Same wording whatever the XSD runtime version calls it.
  if (dynamic_cast<const xsd::cxx::tree::no_type_info<wchar_t>*>(&e))
    return L"no type information registered for a type";
  return Utf8ToWide(e.what());
}

std::wstring LoadError(const std::wstring& path, const std::wstring& shortText) {
  return L"load language simple file \"" + path + L"\"\n" + shortText;
}

}  // namespace

class CLanguageSimpleFile::CImpl {
 public:
  // Throws CException for an unknown key.
  const std::wstring& Find(const std::wstring& key) const {
    const auto found = messages.find(key);
    if (found == messages.end()) throw CException(L"find messgae with id \"" + key + L"\"");
    return found->second;
  }

  std::map<std::wstring, std::wstring> messages;
};

CLanguageSimpleFile::CLanguageSimpleFile() : m_impl(new CImpl) {}

CLanguageSimpleFile::~CLanguageSimpleFile() = default;

void CLanguageSimpleFile::Load(const std::wstring& path, const std::string& schema) {
  // Initialises the XML library for the parse (or keeps it up when the caller
  // already did) and keeps it alive until its own exceptions, whose
  // destructors release memory through it, have been handled below.
  const CXmlLibraryReference xmlLibrary;
  try {
    m_impl->messages.clear();
    CSchema schemaFile;
    const std::wstring schemaPath = schema.empty() ? std::wstring() : schemaFile.Save(schema);
    const xml_schema::flags flags = schema.empty() ? xml_schema::flags::dont_validate : 0;
    const std::unique_ptr<language_simple::CT_Language> language = language_simple::language(
        ParseDocument(path, schemaPath), flags | xml_schema::flags::own_dom);
    // The model is thrown away afterwards, so its strings move into the table.
    std::map<std::wstring, std::wstring>& messages = m_impl->messages;
    for (language_simple::CT_Message& message : language->messages().message()) {
      const std::size_t before = messages.size();
      // Catalogues are sorted by identifier: inserting at the end is the
      // quick case, and any other order still lands in the right place.
      const auto entry = messages.emplace_hint(messages.end(), std::move(message.id()),
                                               std::move(static_cast<std::wstring&>(message)));
      if (messages.size() == before)
        throw CException(L"double id \"" + entry->first + L"\" in file \"" + path + L"\"");
    }
  } catch (const xsd::cxx::tree::exception<wchar_t>& e) {
    throw CException(LoadError(path, ShortText(e)));
  } catch (const xercesc::DOMException&) {
    // The DOM builder rejects some malformed input (an unknown XML version)
    // by throwing instead of reporting an error.
    throw CException(LoadError(path, L"instance document parsing failed"));
  } catch (const xercesc::XMLException&) {
    throw CException(LoadError(path, L"instance document parsing failed"));
  }
}

bool CLanguageSimpleFile::LoadFile(const std::wstring& path) {
  try {
    Load(path, std::string());
    return true;
  } catch (const CException&) {
    return false;
  }
}

bool CLanguageSimpleFile::HasMessage(const std::wstring& id) const {
  return m_impl->messages.count(EscapeControlChars(id)) != 0;
}

std::wstring CLanguageSimpleFile::GetMessageText(const std::wstring& id) const {
  const std::wstring key = EscapeControlChars(id);
  std::wstring text;
  try {
    text = m_impl->Find(key);
  } catch (const CException&) {
    // An unknown identifier reads as an empty text.
  }
  return UnescapeControlChars(text);
}

std::size_t CLanguageSimpleFile::MessageCount() const { return m_impl->messages.size(); }

}  // namespace libi18n
