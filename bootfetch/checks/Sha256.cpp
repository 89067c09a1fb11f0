#include "checks/Sha256.h"

CSha256::CSha256() {
  // No key container is needed to hash, and the call must never ask the user.
  if (!CryptAcquireContextW(&m_provider, nullptr, nullptr, PROV_RSA_AES,
                            CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
    m_provider = 0;
    return;
  }
  if (!CryptCreateHash(m_provider, CALG_SHA_256, 0, 0, &m_hash)) m_hash = 0;
}

CSha256::~CSha256() {
  if (m_hash != 0) CryptDestroyHash(m_hash);
  if (m_provider != 0) CryptReleaseContext(m_provider, 0);
}

bool CSha256::Update(const void* data, DWORD size) {
  return m_hash != 0 && CryptHashData(m_hash, static_cast<const BYTE*>(data), size, 0);
}

bool CSha256::Finish(CSha256Digest& digest) {
  DWORD size = static_cast<DWORD>(digest.size());
  return m_hash != 0 && CryptGetHashParam(m_hash, HP_HASHVAL, digest.data(), &size, 0) &&
         size == digest.size();
}
