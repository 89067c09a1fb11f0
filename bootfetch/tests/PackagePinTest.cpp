#include "checks/PackagePin.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>

#include "TestTexts.h"

namespace {

const std::wstring kHex = L"69dbee893909fa17d1be397e0c07691336fe42049c29d403467d3d4a1fc3b5a1";
const CSha256Digest kDigest = {0x69, 0xdb, 0xee, 0x89, 0x39, 0x09, 0xfa, 0x17, 0xd1, 0xbe, 0x39,
                               0x7e, 0x0c, 0x07, 0x69, 0x13, 0x36, 0xfe, 0x42, 0x04, 0x9c, 0x29,
                               0xd4, 0x03, 0x46, 0x7d, 0x3d, 0x4a, 0x1f, 0xc3, 0xb5, 0xa1};

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(towupper(c));
  return text;
}

TEST(PackagePin, FragmentsArePinsIgnoredOrRefused) {
  const std::wstring base = L"http://host/dir/package.msi?v=1";
  const struct {
    std::wstring fragment;  // appended to base
    PinStatus status;
  } rows[] = {
      {L"", PinStatus::kNone},
      {L"#", PinStatus::kNone},
      {L"#details", PinStatus::kNone},
      {L"#sha256=" + kHex, PinStatus::kPinned},
      {L"#SHA256=" + Upper(kHex), PinStatus::kPinned},
      {L"#sha256=" + kHex.substr(1), PinStatus::kUncheckable},
      {L"#sha256=" + kHex + L"0", PinStatus::kUncheckable},
      {L"#sha256=" + kHex.substr(1) + L"g", PinStatus::kUncheckable},
      {L"#sha256=" + kHex + L"&x=1", PinStatus::kUncheckable},
      {L"#sha256:" + kHex, PinStatus::kUncheckable},
      {L"#sha-256=" + kHex, PinStatus::kUncheckable},
      {L"#sha256-aWdlEvTIv0rxQ7t1p0uFKtJ6zMnDzQqGMj3KD1ZcUtE", PinStatus::kUncheckable},
      {L"#md5=0123456789abcdef0123456789abcdef", PinStatus::kUncheckable},
      {L"#SHA1=0123456789abcdef0123456789abcdef01234567", PinStatus::kUncheckable},
      {L"#sha512=" + kHex + kHex, PinStatus::kUncheckable},
      {L"#hash", PinStatus::kUncheckable},
      {L"#top#sha256=" + kHex, PinStatus::kUncheckable},  // the fragment starts at the first '#'
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(Narrow(row.fragment));
    std::wstring address;
    CSha256Digest digest{};
    EXPECT_EQ(row.status, ParsePackageUrl(base + row.fragment, address, digest));
    EXPECT_EQ(Narrow(base), Narrow(address)) << "the fragment must never reach the server";
    if (row.status == PinStatus::kPinned) {
      EXPECT_TRUE(digest == kDigest);
    }
  }
}

}  // namespace
