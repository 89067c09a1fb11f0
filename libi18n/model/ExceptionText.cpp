// Through the generated header, which sets the runtime up for C++11 first.
#include "language_simple.hxx"

#include <string>

namespace {

using namespace xsd::cxx::tree;
using Text = std::wstring;

// "namespace#name", or the bare name outside any namespace.
Text Qualified(const Text& ns, const Text& name) { return ns.empty() ? name : ns + L'#' + name; }

// std::to_wstring would link a whole printf for line numbers.
Text Decimal(unsigned long n) {
  Text digits;
  do {
    digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + n % 10));
    n /= 10;
  } while (n != 0);
  return digits;
}

Text Diagnostics(const diagnostics<wchar_t>& errors) {
  Text text;
  for (const error<wchar_t>& e : errors) {
    if (!text.empty()) text += L'\n';
    text += e.id() + L':' + Decimal(e.line()) + L':' + Decimal(e.column()) +
            (e.severity() == severity::error ? bits::ex_error_error<wchar_t>()
                                             : bits::ex_error_warning<wchar_t>()) +
            e.message();
  }
  return text;
}

// Only the buffer: the stream's own insertion would pull in its locale.
void Put(std::wostream& os, const Text& text) {
  if (std::wstreambuf* buffer = os.rdbuf())
    buffer->sputn(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace

LANGUAGE_SIMPLE_PRINT(parsing) {
  Put(os, diagnostics().empty() ? bits::ex_parsing_msg<wchar_t>() : Diagnostics(diagnostics()));
}

LANGUAGE_SIMPLE_PRINT(expected_element) {
  Put(os, bits::ex_eel_expected<wchar_t>() + Qualified(namespace_(), name()) + L'\'');
}

LANGUAGE_SIMPLE_PRINT(unexpected_element) {
  const Text encountered = Qualified(encountered_namespace(), encountered_name()) + L'\'';
  if (expected_name().empty())
    Put(os, bits::ex_uel_unexpected<wchar_t>() + encountered);
  else
    Put(os, bits::ex_uel_expected<wchar_t>() + Qualified(expected_namespace(), expected_name()) +
                bits::ex_uel_instead<wchar_t>() + encountered);
}

LANGUAGE_SIMPLE_PRINT(expected_attribute) {
  Put(os, bits::ex_eat_expected<wchar_t>() + Qualified(namespace_(), name()) + L'\'');
}

LANGUAGE_SIMPLE_PRINT(unexpected_enumerator) {
  Put(os, bits::ex_uen_unexpected<wchar_t>() + enumerator() + L'\'');
}

LANGUAGE_SIMPLE_PRINT(expected_text_content) { Put(os, bits::ex_etc_msg<wchar_t>()); }

LANGUAGE_SIMPLE_PRINT(no_type_info) {
  Put(os, bits::ex_nti_no_type_info<wchar_t>() + Qualified(type_namespace(), type_name()) + L'\'');
}

LANGUAGE_SIMPLE_PRINT(no_element_info) {
  Put(os, bits::ex_nei_no_element_info<wchar_t>() + Qualified(element_namespace(), element_name()) +
              L'\'');
}

LANGUAGE_SIMPLE_PRINT(not_derived) {
  Put(os, bits::ex_nd_type<wchar_t>() + Qualified(derived_type_namespace(), derived_type_name()) +
              bits::ex_nd_not_derived<wchar_t>() +
              Qualified(base_type_namespace(), base_type_name()) + L'\'');
}

LANGUAGE_SIMPLE_PRINT(duplicate_id) {
  Put(os, bits::ex_di_id<wchar_t>() + id() + bits::ex_di_already_exist<wchar_t>());
}

LANGUAGE_SIMPLE_PRINT(no_prefix_mapping) {
  Put(os, bits::ex_npm_no_mapping<wchar_t>() + prefix() + L'\'');
}

LANGUAGE_SIMPLE_PRINT(bounds) { Put(os, bits::ex_bounds_msg<wchar_t>()); }
