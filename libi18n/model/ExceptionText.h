#pragma once

// Included at the top of the generated language_simple.hxx, and by every file
// that throws a runtime exception, before anything instantiates them.
//
// Each runtime exception has a virtual print(std::wostream&), so its virtual
// table links libstdc++'s wide stream insertion and with it every locale
// facet, for a text nothing here prints (the loader reports what()). These
// versions write the same text straight into the stream's buffer, which
// needs no locale.

#include <xsd/cxx/tree/exceptions.hxx>

#define LANGUAGE_SIMPLE_PRINT(type) \
  template <>                       \
  void xsd::cxx::tree::type<wchar_t>::print(std::wostream& os) const

LANGUAGE_SIMPLE_PRINT(parsing);
LANGUAGE_SIMPLE_PRINT(expected_element);
LANGUAGE_SIMPLE_PRINT(unexpected_element);
LANGUAGE_SIMPLE_PRINT(expected_attribute);
LANGUAGE_SIMPLE_PRINT(unexpected_enumerator);
LANGUAGE_SIMPLE_PRINT(expected_text_content);
LANGUAGE_SIMPLE_PRINT(no_type_info);
LANGUAGE_SIMPLE_PRINT(no_element_info);
LANGUAGE_SIMPLE_PRINT(not_derived);
LANGUAGE_SIMPLE_PRINT(duplicate_id);
LANGUAGE_SIMPLE_PRINT(no_prefix_mapping);
LANGUAGE_SIMPLE_PRINT(bounds);
