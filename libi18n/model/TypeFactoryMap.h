#pragma once

// Included at the top of the generated language_simple.hxx (include that
// instead, as it sets the runtime up for C++11 first), before anything
// instantiates the map of types that xsi:type may name.
//
// The XSD runtime's own constructor of the map registers every built-in XML
// Schema type; the date, time and duration parsers among them read numbers
// through a std::wistream, which links libstdc++'s streams and locales. This
// one registers the same names with the same outcomes (see TypeFactoryMap.cpp).

#include <xsd/cxx/tree/type-factory-map.hxx>

template <>
xsd::cxx::tree::type_factory_map<wchar_t>::type_factory_map();
