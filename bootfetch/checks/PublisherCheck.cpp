#include "checks/PublisherCheck.h"

#include <softpub.h>

#include "FileHandle.h"
#include "system/WinTrustLibrary.h"

namespace {

// The step texts; they never reach the user.
const wchar_t kLoadWinTrust[] = L"Load WinTrust";
const wchar_t kOwnSigner[] = L"Read own signer";
const wchar_t kSignature[] = L"Package signature";
const wchar_t kChain[] = L"Package certificate chain";
const wchar_t kPublisher[] = L"Package publisher";

// Revocation is never asked for (no wait on the network), so its status
// being unknown is no trust error.
const DWORD kUncheckedRevocation =
    CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION;

// One WinVerifyTrust run whose results stay readable until it is closed.
class CTrustVerification {
 public:
  // Windows reads the file through the handle where its format's support
  // takes one, Wine's MSI support only by the name: both are given.
  CTrustVerification(HANDLE file, const std::wstring& path) {
    m_file.cbStruct = sizeof(m_file);
    m_file.pcwszFilePath = path.c_str();
    m_file.hFile = file;
    m_data.cbStruct = sizeof(m_data);
    m_data.dwUIChoice = WTD_UI_NONE;
    m_data.fdwRevocationChecks = WTD_REVOKE_NONE;
    m_data.dwUnionChoice = WTD_CHOICE_FILE;
    m_data.pFile = &m_file;
    m_data.dwStateAction = WTD_STATEACTION_VERIFY;
    // No revocation data, and nothing fetched from an issuer's address: a
    // blocked network must never hold the launch up.
    m_data.dwProvFlags = WTD_REVOCATION_CHECK_NONE | WTD_CACHE_ONLY_URL_RETRIEVAL;
    m_result =
        WinTrust().WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &m_action, &m_data);
  }
  ~CTrustVerification() {
    m_data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinTrust().WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &m_action, &m_data);
  }
  CTrustVerification(const CTrustVerification&) = delete;
  CTrustVerification& operator=(const CTrustVerification&) = delete;

  LONG Result() const { return m_result; }
  // The first signer, with the chain the provider built for it; null when
  // there is none.
  CRYPT_PROVIDER_SGNR* Signer() const {
    CRYPT_PROVIDER_DATA* const data =
        WinTrust().WTHelperProvDataFromStateData(m_data.hWVTStateData);
    return data ? WinTrust().WTHelperGetProvSignerFromChain(data, 0, FALSE, 0) : nullptr;
  }
  // The signer's own certificate; null when there is none.
  PCCERT_CONTEXT Leaf() const {
    CRYPT_PROVIDER_SGNR* const signer = Signer();
    CRYPT_PROVIDER_CERT* const leaf =
        signer ? WinTrust().WTHelperGetProvCertFromChain(signer, 0) : nullptr;
    return leaf ? leaf->pCert : nullptr;
  }

 private:
  GUID m_action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  WINTRUST_FILE_INFO m_file = {};
  WINTRUST_DATA m_data = {};
  LONG m_result = TRUST_E_NOSIGNATURE;
};

// Measured under Wine 8: WinVerifyTrust accepts a signature from an
// untrusted root, which only the chain's status shows.
bool ChainIsTrusted(const CRYPT_PROVIDER_SGNR& signer) {
  return signer.pChainContext != nullptr &&
         (signer.pChainContext->TrustStatus.dwErrorStatus & ~kUncheckedRevocation) == 0;
}

}  // namespace

CPublisher ReadPublisher(const std::wstring& path) {
  CPublisher publisher;
  if (!WinTrust().IsLoaded()) {
    // Without WinTrust not even the signature's presence can be read: the
    // program then opens no package.
    publisher.isSigned = true;
    return publisher;
  }
  CFileHandle file;
  file.Create(path.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
  const CTrustVerification verification(file.IsCreated() ? file.Get() : nullptr, path);
  publisher.isSigned = verification.Result() != TRUST_E_NOSIGNATURE;
  if (const PCCERT_CONTEXT leaf = verification.Leaf()) {
    const CERT_NAME_BLOB& name = leaf->pCertInfo->Subject;
    publisher.subject.assign(name.pbData, name.pbData + name.cbData);
  }
  return publisher;
}

const CPublisher& OwnPublisher() {
  static const CPublisher publisher = [] {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    CPublisher own;
    if (length == 0 || length >= MAX_PATH)
      own.isSigned = true;  // unreadable: trusts nothing
    else
      own = ReadPublisher(std::wstring(path, length));
    return own;
  }();
  return publisher;
}

const wchar_t* CheckPublisher(const CPublisher& publisher, HANDLE file, const std::wstring& path) {
  if (!publisher.isSigned) return nullptr;
  if (!WinTrust().IsLoaded()) return kLoadWinTrust;
  if (publisher.subject.empty()) return kOwnSigner;
  const CTrustVerification verification(file, path);
  if (verification.Result() != ERROR_SUCCESS) return kSignature;
  const CRYPT_PROVIDER_SGNR* const signer = verification.Signer();
  if (signer == nullptr || !ChainIsTrusted(*signer)) return kChain;
  const PCCERT_CONTEXT leaf = verification.Leaf();
  CERT_NAME_BLOB own = {static_cast<DWORD>(publisher.subject.size()),
                        const_cast<BYTE*>(publisher.subject.data())};
  if (leaf == nullptr ||
      !WinTrust().CertCompareCertificateName(X509_ASN_ENCODING, &leaf->pCertInfo->Subject, &own))
    return kPublisher;
  return nullptr;
}
