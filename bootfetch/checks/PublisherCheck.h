#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Who signed a file with Authenticode: the encoded subject name of its
// signer's certificate. The name, not a key or a thumbprint, is the
// publisher's identity, so that a renewed certificate is the same publisher.
struct CPublisher {
  bool isSigned = false;
  // Empty for a signed file whose signer could not be read: nothing is from
  // such a publisher.
  std::vector<BYTE> subject;
};

// The publisher of the file at path, whether its signature is trusted or not.
CPublisher ReadPublisher(const std::wstring& path);

// This program's publisher, read from its own file on first use.
const CPublisher& OwnPublisher();

// Null when the publisher signed nothing, or when the package carries a valid
// signature by the same subject name; otherwise the step that refused it.
// Valid means WinVerifyTrust accepts it and its signer's chain ends in a
// trusted root without a trust error; revocation data is never fetched.
const wchar_t* CheckPublisher(const CPublisher& publisher, HANDLE file, const std::wstring& path);
