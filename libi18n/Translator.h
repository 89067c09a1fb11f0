#pragma once

#include <boost/shared_ptr.hpp>
#include <string>

#include "MessageTranslator.h"

namespace libi18n {

// A translator loaded from the language file, or empty if loading failed.
boost::shared_ptr<CMessageTranslator> CreateTranslator(const std::wstring& path);

// Installs the process-wide translator. Lookups use it without holding a
// reference, so never call this while other threads may look up.
void SetTranslator(boost::shared_ptr<CMessageTranslator> translator);

// Empty text or false when nothing is installed or the identifier is unknown.
std::wstring GetTranslation(const std::wstring& id);
bool HasTranslation(const std::wstring& id);

}  // namespace libi18n
