#pragma once

// Completes the generated language_simple.hxx, which includes this file at its
// end: the document element is parsed here so that unknown elements are
// skipped, and a later "messages" element is still checked.

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

}  // namespace language_simple
