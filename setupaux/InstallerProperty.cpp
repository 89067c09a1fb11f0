#include "InstallerProperty.h"

#include <msiquery.h>

#include <stdexcept>
#include <vector>

namespace setupaux {

std::wstring GetProperty(MSIHANDLE hInstall, const std::wstring& name) {
  // The first call only asks for the length: a zero-sized buffer that is not
  // null makes the installer answer ERROR_MORE_DATA, even for an empty value.
  wchar_t empty[1] = {L'\0'};
  DWORD size = 0;
  if (MsiGetPropertyW(hInstall, name.c_str(), empty, &size) != ERROR_MORE_DATA)
    throw std::runtime_error("get property");
  std::vector<wchar_t> buffer(size + 1, L'\0');
  DWORD capacity = size + 1;
  if (MsiGetPropertyW(hInstall, name.c_str(), buffer.data(), &capacity) != ERROR_SUCCESS)
    throw std::runtime_error("get property");
  return std::wstring(buffer.data());
}

void SetProperty(MSIHANDLE hInstall, const std::wstring& name, const std::wstring& value) {
  if (MsiSetPropertyW(hInstall, name.c_str(), value.c_str()) != ERROR_SUCCESS)
    throw std::runtime_error("set property");
}

std::wstring GetProductProperty(const std::wstring& productCode, const std::wstring& attribute) {
  DWORD size = 0;
  MsiGetProductInfoW(productCode.c_str(), attribute.c_str(), nullptr, &size);
  std::vector<wchar_t> buffer(size + 1, L'\0');
  DWORD capacity = size + 1;
  MsiGetProductInfoW(productCode.c_str(), attribute.c_str(), buffer.data(), &capacity);
  // The buffer stays zeroed when the query fails, and its last character is
  // never overwritten, so the text always ends inside it.
  return std::wstring(buffer.data());
}

}  // namespace setupaux
