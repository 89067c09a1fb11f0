// Through the generated header, which sets the runtime up for C++11 first.
#include "language_simple.hxx"

#include <initializer_list>

#include <xsd/cxx/tree/text.hxx>
#include <xsd/cxx/tree/types.hxx>

namespace {

using namespace xsd::cxx::tree;
using SimpleType = simple_type<wchar_t, type>;

// Stands in for the date, time and duration types. Their parsers never fail,
// so building one from an element fails only where this does: an element
// child in the text. The catalogue's types derive from none of them, so the
// caller rejects the object either way ("type is not derived").
std::unique_ptr<type> TextOnly(const xercesc::DOMElement& e, flags f, container* c) {
  std::unique_ptr<type> built(new SimpleType(e, f, c));
  text_content<wchar_t>(e);
  return built;
}

}  // namespace

template <>
type_factory_map<wchar_t>::type_factory_map() {
  const std::wstring xsd(bits::xml_schema<wchar_t>());
  auto add = [this, &xsd](const wchar_t* name, factory create) {
    register_type(qualified_name(name, xsd), create, false);
  };

  using String = string<wchar_t, SimpleType>;
  using NormalizedString = normalized_string<wchar_t, String>;
  using Token = token<wchar_t, NormalizedString>;
  using Name = name<wchar_t, Token>;
  using NmToken = nmtoken<wchar_t, Token>;
  using NcName = ncname<wchar_t, Name>;
  using Id = id<wchar_t, NcName>;
  using IdRef = idref<wchar_t, NcName, type>;
  using Uri = uri<wchar_t, SimpleType>;
  using Entity = entity<wchar_t, NcName>;

  add(bits::any_type<wchar_t>(), &factory_impl<type>);
  add(bits::any_simple_type<wchar_t>(), &factory_impl<SimpleType>);
  add(bits::string<wchar_t>(), &factory_impl<String>);
  add(bits::normalized_string<wchar_t>(), &factory_impl<NormalizedString>);
  add(bits::token<wchar_t>(), &factory_impl<Token>);
  add(bits::name<wchar_t>(), &factory_impl<Name>);
  add(bits::nmtoken<wchar_t>(), &factory_impl<NmToken>);
  add(bits::nmtokens<wchar_t>(), &factory_impl<nmtokens<wchar_t, SimpleType, NmToken>>);
  add(bits::ncname<wchar_t>(), &factory_impl<NcName>);
  add(bits::language<wchar_t>(), &factory_impl<language<wchar_t, Token>>);
  add(bits::id<wchar_t>(), &factory_impl<Id>);
  add(bits::idref<wchar_t>(), &factory_impl<IdRef>);
  add(bits::idrefs<wchar_t>(), &factory_impl<idrefs<wchar_t, SimpleType, IdRef>>);
  add(bits::any_uri<wchar_t>(), &factory_impl<Uri>);
  add(bits::qname<wchar_t>(), &factory_impl<qname<wchar_t, SimpleType, Uri, NcName>>);
  add(bits::base64_binary<wchar_t>(), &factory_impl<base64_binary<wchar_t, SimpleType>>);
  add(bits::hex_binary<wchar_t>(), &factory_impl<hex_binary<wchar_t, SimpleType>>);
  for (const wchar_t* dateOrTime :
       {bits::gday<wchar_t>(), bits::gmonth<wchar_t>(), bits::gyear<wchar_t>(),
        bits::gmonth_day<wchar_t>(), bits::gyear_month<wchar_t>(), bits::date<wchar_t>(),
        bits::time<wchar_t>(), bits::date_time<wchar_t>(), bits::duration<wchar_t>()})
    add(dateOrTime, &TextOnly);
  add(bits::entity<wchar_t>(), &factory_impl<Entity>);
  add(bits::entities<wchar_t>(), &factory_impl<entities<wchar_t, SimpleType, Entity>>);
}
