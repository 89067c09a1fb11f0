#include "DocumentParser.h"

#include <xercesc/dom/DOMError.hpp>
#include <xercesc/dom/DOMErrorHandler.hpp>
#include <xercesc/dom/DOMImplementation.hpp>
#include <xercesc/dom/DOMImplementationRegistry.hpp>
#include <xercesc/dom/DOMLSException.hpp>
#include <xercesc/dom/DOMLSParser.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLUni.hpp>

#include "ExceptionText.h"

namespace libi18n {

namespace {

using namespace xercesc;

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

  // A language file may have no DOCTYPE at all. Refusing it outright leaves
  // nothing to declare an entity or an external DTD with, so no other file's
  // content can reach a message and no expansion can grow without bound (an
  // expansion count alone still lets one large entity be copied thousands of
  // times). No catalogue of ours has one.
  config->setParameter(XMLUni::fgDOMDisallowDoctype, true);
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
