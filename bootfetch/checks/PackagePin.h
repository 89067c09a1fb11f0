#pragma once

#include <string>

#include "checks/Sha256.h"

// The caller that starts the program may pin the package in the URL's
// fragment, the part after the first '#' that HTTP never sends:
//   http://host/path/package.msi#sha256=<64 hexadecimal digits, any case>
// The algorithm's name may be written in any case too. A fragment that looks
// like any other pin (it holds '=' or ':', or begins with "sha", "md" or
// "hash" in any case) cannot be checked and refuses the URL, so that a typo
// never silently drops the protection. Every other fragment ("#details",
// an empty one) is ignored.

enum class PinStatus { kNone, kPinned, kUncheckable };

// Splits the URL at its first '#': address is what goes to the server, and
// for kPinned, digest is the pinned SHA-256.
PinStatus ParsePackageUrl(const std::wstring& url, std::wstring& address, CSha256Digest& digest);
