#pragma once

// Completes the generated language_simple.hxx, which includes this file at its
// end: the document element is parsed here so that unknown elements are
// skipped, and a later "messages" element is still checked. The document
// itself is parsed here too: the generated parsing functions would add
// overloads reading a std::istream, whose code the link keeps.

namespace language_simple {

class CT_Language : public CT_Language_base {
 public:
  CT_Language(const xercesc::DOMElement& e, xml_schema::flags f = 0,
              xml_schema::container* c = nullptr);
  CT_Language(const CT_Language& x, xml_schema::flags f = 0, xml_schema::container* c = nullptr);
  ~CT_Language() override;

  CT_Language* _clone(xml_schema::flags f = 0, xml_schema::container* c = nullptr) const override;

 private:
  void ParseChildren(const xercesc::DOMElement& e, xml_schema::flags f);
};

// The "language" document element of an already parsed document, honouring
// xsi:type; takes the document over with flags::own_dom.
std::unique_ptr<CT_Language> language(xml_schema::dom::unique_ptr<xercesc::DOMDocument> document,
                                      xml_schema::flags f);

}  // namespace language_simple
