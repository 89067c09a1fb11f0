#include "language_simple.hxx"

#include <xsd/cxx/tree/type-factory-map.hxx>
#include <xsd/cxx/xml/dom/parsing-source.hxx>

namespace language_simple {

CT_Messages::CT_Messages(const xercesc::DOMElement& e, xml_schema::flags f,
                         xml_schema::container* c)
    : CT_Messages_base(e, f | xml_schema::flags::base, c) {
  if ((f & xml_schema::flags::base) == 0) ParseChildren(e, f);
}

CT_Messages::CT_Messages(const CT_Messages& x, xml_schema::flags f, xml_schema::container* c)
    : CT_Messages_base(x, f, c) {}

CT_Messages::~CT_Messages() = default;

CT_Messages* CT_Messages::_clone(xml_schema::flags f, xml_schema::container* c) const {
  return new CT_Messages(*this, f, c);
}

void CT_Messages::ParseChildren(const xercesc::DOMElement& e, xml_schema::flags f) {
  // Text, comments and processing instructions between the messages are skipped too.
  for (xsd::cxx::xml::dom::parser<wchar_t> p(e, true, false, false); p.more_content();
       p.next_content(false)) {
    const xercesc::DOMElement& child = p.cur_element();
    // Matched by local name; the factory also honours xsi:type.
    std::unique_ptr<xsd::cxx::tree::type> built(
        xsd::cxx::tree::type_factory_map_instance<0, wchar_t>().create(
            L"message", L"", &xsd::cxx::tree::factory_impl<message_type>, false, false, child,
            xsd::cxx::xml::dom::name<wchar_t>(child), f, this));
    if (!built) continue;
    std::unique_ptr<message_type> message(dynamic_cast<message_type*>(built.get()));
    if (!message) throw xsd::cxx::tree::not_derived<wchar_t>();
    built.release();
    message_.push_back(std::move(message));
  }
}

}  // namespace language_simple
