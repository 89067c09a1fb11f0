#pragma once

// The generated model is built for C++11; its DOM pointer type depends on this.
#ifndef XSD_CXX11
#define XSD_CXX11
#endif

#include <xercesc/dom/DOMDocument.hpp>
#include <xsd/cxx/xml/dom/auto-ptr.hxx>

#include <string>

namespace libi18n {

// Parses a language file into a DOM document with the settings the generated
// model's own parse would use (comments dropped, entity references expanded,
// namespaces on), validating against the schema file unless its path is
// empty. A catalogue is hostile input, so the parse refuses any DOCTYPE: no
// entity or DTD, external or not, can be declared. The XML library must be
// initialised. Throws xsd::cxx::tree::parsing<wchar_t> when the file cannot
// be read or parsed.
xsd::cxx::xml::dom::unique_ptr<xercesc::DOMDocument> ParseDocument(const std::wstring& path,
                                                                   const std::wstring& schemaPath);

}  // namespace libi18n
