#include "checks/PackagePin.h"

#include <cwchar>
#include <cwctype>

namespace {

const wchar_t kPinName[] = L"sha256=";
const std::size_t kPinNameLength = sizeof(kPinName) / sizeof(kPinName[0]) - 1;
// Beginnings of fragments that name a digest, in lower case.
const wchar_t* const kDigestLikeStarts[] = {L"sha", L"md", L"hash"};

std::wstring Lower(const std::wstring& text) {
  std::wstring lower = text;
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  return lower;
}

int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

bool ParseDigest(const std::wstring& hex, CSha256Digest& digest) {
  if (hex.size() != 2 * digest.size()) return false;
  for (std::size_t i = 0; i < digest.size(); ++i) {
    const int high = HexValue(hex[2 * i]);
    const int low = HexValue(hex[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    digest[i] = static_cast<unsigned char>(high * 16 + low);
  }
  return true;
}

bool LooksLikeAPin(const std::wstring& lowerFragment) {
  if (lowerFragment.find_first_of(L"=:") != std::wstring::npos) return true;
  for (const wchar_t* start : kDigestLikeStarts)
    if (lowerFragment.compare(0, std::wcslen(start), start) == 0) return true;
  return false;
}

}  // namespace

PinStatus ParsePackageUrl(const std::wstring& url, std::wstring& address, CSha256Digest& digest) {
  const std::size_t hash = url.find(L'#');
  address = url.substr(0, hash);
  if (hash == std::wstring::npos) return PinStatus::kNone;
  const std::wstring fragment = url.substr(hash + 1);
  const std::wstring lower = Lower(fragment);
  if (lower.compare(0, kPinNameLength, kPinName) == 0 &&
      ParseDigest(fragment.substr(kPinNameLength), digest))
    return PinStatus::kPinned;
  return LooksLikeAPin(lower) ? PinStatus::kUncheckable : PinStatus::kNone;
}
