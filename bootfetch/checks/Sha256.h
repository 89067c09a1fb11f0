#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <array>

typedef std::array<unsigned char, 32> CSha256Digest;

// SHA-256 through the system's own CryptoAPI (advapi32, always taken from the
// system folder). Every call reports failure instead of throwing; a hash that
// could not be set up fails every call.
class CSha256 {
 public:
  CSha256();
  ~CSha256();
  CSha256(const CSha256&) = delete;
  CSha256& operator=(const CSha256&) = delete;

  bool Update(const void* data, DWORD size);
  // The digest of everything hashed so far; the hash takes no more data.
  bool Finish(CSha256Digest& digest);

 private:
  HCRYPTPROV m_provider = 0;
  HCRYPTHASH m_hash = 0;
};
