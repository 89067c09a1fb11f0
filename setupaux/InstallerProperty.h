#pragma once

#include <windows.h>
#include <msi.h>

#include <string>

namespace setupaux {

// Reads a session property; an undefined property is the empty text.
// Throws std::runtime_error("get property") when the installer refuses.
std::wstring GetProperty(MSIHANDLE hInstall, const std::wstring& name);

// Writing the empty text undefines the property.
// Throws std::runtime_error("set property") when the installer refuses.
void SetProperty(MSIHANDLE hInstall, const std::wstring& name, const std::wstring& value);

// One attribute of an installed product; the empty text when the product or
// the attribute is unknown. Never fails.
std::wstring GetProductProperty(const std::wstring& productCode, const std::wstring& attribute);

}  // namespace setupaux
