#pragma once
#include <windows.h>

#include <string>

namespace demo {

// Small registry helpers for the demo's set-up and report; absent or
// unreadable values read as "<absent>".
std::wstring ReadValueText(HKEY root, const std::wstring& key, const wchar_t* name);
bool WriteDword(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value);
bool WriteString(HKEY root, const std::wstring& key, const wchar_t* name,
                 const std::wstring& value);

}  // namespace demo
