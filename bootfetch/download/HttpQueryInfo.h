#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <string>

// A response header as text, through the two-call protocol (size, then
// value); false when the header is missing or cannot be read.
bool QueryInfoText(HINTERNET request, DWORD infoLevel, std::wstring& text);
// The same header as a whole number; text with anything after the number
// ("12 MB") is no number at all.
bool QueryInfoNumber(HINTERNET request, DWORD infoLevel, std::int32_t& number);
