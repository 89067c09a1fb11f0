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

std::unique_ptr<CT_Language> language(xml_schema::dom::unique_ptr<xercesc::DOMDocument> document,
                                      xml_schema::flags f) {
  // Keeping the DOM needs a copy unless the caller hands the document over.
  xml_schema::dom::unique_ptr<xercesc::DOMDocument> copy(
      (f & xml_schema::flags::keep_dom) && !(f & xml_schema::flags::own_dom)
          ? static_cast<xercesc::DOMDocument*>(document->cloneNode(true))
          : nullptr);
  xercesc::DOMDocument& doc = copy ? *copy : *document;
  const xercesc::DOMElement& e = *doc.getDocumentElement();
  const xsd::cxx::xml::qualified_name<wchar_t> n(xsd::cxx::xml::dom::name<wchar_t>(e));
  if (f & xml_schema::flags::keep_dom)
    doc.setUserData(xml_schema::dom::tree_node_key, copy ? &copy : &document, nullptr);

  std::unique_ptr<xsd::cxx::tree::type> built(
      xsd::cxx::tree::type_factory_map_instance<0, wchar_t>().create(
          L"language", L"", &xsd::cxx::tree::factory_impl<CT_Language>, true, true, e, n, f,
          nullptr));
  if (!built)
    throw xsd::cxx::tree::unexpected_element<wchar_t>(n.name(), n.namespace_(), L"language", L"");
  std::unique_ptr<CT_Language> root(dynamic_cast<CT_Language*>(built.get()));
  if (!root) throw xsd::cxx::tree::not_derived<wchar_t>();
  built.release();
  return root;
}

}  // namespace language_simple
