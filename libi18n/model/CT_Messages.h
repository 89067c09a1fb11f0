#pragma once

// Completes the generated language_simple.hxx, which includes this file at its
// end: the message list is parsed here so that unknown elements between the
// messages are skipped instead of ending the list.

namespace language_simple {

class CT_Messages : public CT_Messages_base {
 public:
  CT_Messages(const xercesc::DOMElement& e, xml_schema::flags f = 0,
              xml_schema::container* c = nullptr);
  CT_Messages(const CT_Messages& x, xml_schema::flags f = 0, xml_schema::container* c = nullptr);
  ~CT_Messages() override;

  CT_Messages* _clone(xml_schema::flags f = 0, xml_schema::container* c = nullptr) const override;

 private:
  void ParseChildren(const xercesc::DOMElement& e, xml_schema::flags f);
};

}  // namespace language_simple
