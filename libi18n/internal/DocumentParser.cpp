#include "DocumentParser.h"

#include <xercesc/dom/DOMError.hpp>
#include <xercesc/dom/DOMErrorHandler.hpp>
#include <xercesc/dom/DOMImplementation.hpp>
#include <xercesc/dom/DOMLSInput.hpp>
#include <xercesc/dom/DOMImplementationRegistry.hpp>
#include <xercesc/dom/DOMLSException.hpp>
#include <xercesc/dom/DOMLSParser.hpp>
#include <xercesc/dom/DOMLSResourceResolver.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLUni.hpp>

#include "ExceptionText.h"

namespace libi18n {

namespace {

using namespace xercesc;

// Entity expansion is bounded with the library's security manager rather
// than by refusing a DOCTYPE: a file whose DOCTYPE only declares internal
// entities or attribute defaults keeps loading as before. Past the limit the
// parse stops with a fatal error. No catalogue needs more than a few
// references per message, while a nested "billion laughs" file reaches the
// limit after a few kilobytes of text.
const XMLSize_t kEntityExpansionLimit = 5000;

// Every error fails the parse; the parser carries on so that it reports the
// same way whatever the first error was. Warnings are ignored.
class CFailureRecorder : public DOMErrorHandler {
 public:
  bool handleError(const DOMError& error) override {
    if (error.getSeverity() != DOMError::DOM_SEVERITY_WARNING) m_failed = true;
    return true;
  }
  bool Failed() const { return m_failed; }

 private:
  bool m_failed = false;
};

// External entities and the external DTD subset read as empty, so no other
// file's content can reach a message; schema documents are left to the
// parser, which only loads the one the caller names.
class CNoExternalEntities : public DOMLSResourceResolver {
 public:
  explicit CNoExternalEntities(DOMImplementationLS* implementation)
      : m_implementation(implementation) {}

  DOMLSInput* resolveResource(const XMLCh* resourceType, const XMLCh*, const XMLCh*, const XMLCh*,
                              const XMLCh*) override {
    if (!XMLString::equals(resourceType, XMLUni::fgDOMDTDType)) return nullptr;
    DOMLSInput* empty = m_implementation->createLSInput();
    empty->setStringData(XMLUni::fgZeroLenString);
    return empty;
  }

 private:
  DOMImplementationLS* m_implementation;
};

}  // namespace

xsd::cxx::xml::dom::unique_ptr<DOMDocument> ParseDocument(const std::wstring& path,
                                                          const std::wstring& schemaPath) {
  const XMLCh features[] = {chLatin_L, chLatin_S, chNull};
  auto* implementation =
      static_cast<DOMImplementationLS*>(DOMImplementationRegistry::getDOMImplementation(features));
  const xsd::cxx::xml::dom::unique_ptr<DOMLSParser> parser(
      implementation->createLSParser(DOMImplementationLS::MODE_SYNCHRONOUS, nullptr));

  DOMConfiguration* config = parser->getDomConfig();
  config->setParameter(XMLUni::fgDOMComments, false);
  config->setParameter(XMLUni::fgDOMDatatypeNormalization, true);
  config->setParameter(XMLUni::fgDOMEntities, false);
  config->setParameter(XMLUni::fgDOMNamespaces, true);
  config->setParameter(XMLUni::fgDOMElementContentWhitespace, false);
  const bool validate = !schemaPath.empty();
  config->setParameter(XMLUni::fgDOMValidate, validate);
  config->setParameter(XMLUni::fgXercesSchema, validate);
  config->setParameter(XMLUni::fgXercesSchemaFullChecking, false);
  if (validate) {
    config->setParameter(XMLUni::fgXercesHandleMultipleImports, true);
    config->setParameter(XMLUni::fgXercesSchemaExternalNoNameSpaceSchemaLocation,
                         const_cast<void*>(static_cast<const void*>(schemaPath.c_str())));
    // The schema named here, not one the document names.
    config->setParameter(XMLUni::fgXercesLoadSchema, false);
  }
  config->setParameter(XMLUni::fgXercesUserAdoptsDOMDocument, true);

  SecurityManager limits;
  limits.setEntityExpansionLimit(kEntityExpansionLimit);
  config->setParameter(XMLUni::fgXercesSecurityManager, &limits);
  CNoExternalEntities resolver(implementation);
  config->setParameter(XMLUni::fgDOMResourceResolver, &resolver);
  CFailureRecorder errors;
  config->setParameter(XMLUni::fgDOMErrorHandler, &errors);

  xsd::cxx::xml::dom::unique_ptr<DOMDocument> document;
  try {
    document.reset(parser->parseURI(path.c_str()));
  } catch (const DOMLSException&) {
    // Leaves no document, which fails below.
  }
  if (errors.Failed() || !document) throw xsd::cxx::tree::parsing<wchar_t>();
  return document;
}

}  // namespace libi18n
