#pragma once

#include <xercesc/util/PlatformUtils.hpp>

namespace libi18n {

// One reference to the XML library for the lifetime of the object; the
// library counts them and shuts down with the last.
class CXmlLibraryReference {
 public:
  CXmlLibraryReference() { xercesc::XMLPlatformUtils::Initialize(); }
  ~CXmlLibraryReference() { xercesc::XMLPlatformUtils::Terminate(); }
  CXmlLibraryReference(const CXmlLibraryReference&) = delete;
  CXmlLibraryReference& operator=(const CXmlLibraryReference&) = delete;
};

}  // namespace libi18n
