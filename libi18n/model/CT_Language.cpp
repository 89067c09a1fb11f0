#include "language_simple.hxx"

#include <xsd/cxx/tree/type-factory-map.hxx>
#include <xsd/cxx/xml/dom/parsing-source.hxx>

namespace language_simple {

CT_Language::CT_Language(const xercesc::DOMElement& e, xml_schema::flags f,
                         xml_schema::container* c)
    : CT_Language_base(e, f | xml_schema::flags::base, c) {
  if ((f & xml_schema::flags::base) == 0) ParseChildren(e, f);
}

CT_Language::CT_Language(const CT_Language& x, xml_schema::flags f, xml_schema::container* c)
    : CT_Language_base(x, f, c) {}

CT_Language::~CT_Language() = default;

CT_Language* CT_Language::_clone(xml_schema::flags f, xml_schema::container* c) const {
  return new CT_Language(*this, f, c);
}

void CT_Language::ParseChildren(const xercesc::DOMElement& e, xml_schema::flags f) {
  for (xsd::cxx::xml::dom::parser<wchar_t> p(e, true, false, false); p.more_content();
       p.next_content(false)) {
    const xercesc::DOMElement& child = p.cur_element();
    // Matched by local name. A later "messages" is built as well, so that a
    // broken one fails the load even though only the first one is kept.
    std::unique_ptr<xsd::cxx::tree::type> built(
        xsd::cxx::tree::type_factory_map_instance<0, wchar_t>().create(
            L"messages", L"", &xsd::cxx::tree::factory_impl<messages_type>, false, false, child,
            xsd::cxx::xml::dom::name<wchar_t>(child), f, this));
    if (!built) continue;
    std::unique_ptr<messages_type> messages(dynamic_cast<messages_type*>(built.get()));
    if (!messages) throw xsd::cxx::tree::not_derived<wchar_t>();
    built.release();
    if (!messages_.present()) messages_.set(std::move(messages));
  }
  if (!messages_.present()) throw xsd::cxx::tree::expected_element<wchar_t>(L"messages", L"");
}

}  // namespace language_simple
