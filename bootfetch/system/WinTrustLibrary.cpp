#include "system/WinTrustLibrary.h"

CWinTrustLibrary::CWinTrustLibrary() {
  if (!m_wintrust.Load(L"wintrust.dll") || !m_crypt32.Load(L"crypt32.dll")) {
    m_wintrust.Close();
    m_crypt32.Close();
    return;
  }
  const CSystemLibrary& wintrust = m_wintrust;
  const bool complete =
      wintrust.GetProc("WinVerifyTrust", WinVerifyTrust) &&
      wintrust.GetProc("WTHelperProvDataFromStateData", WTHelperProvDataFromStateData) &&
      wintrust.GetProc("WTHelperGetProvSignerFromChain", WTHelperGetProvSignerFromChain) &&
      wintrust.GetProc("WTHelperGetProvCertFromChain", WTHelperGetProvCertFromChain) &&
      m_crypt32.GetProc("CertCompareCertificateName", CertCompareCertificateName);
  if (complete) return;
  m_wintrust.Close();
  m_crypt32.Close();
  static_cast<CWinTrustEntryPoints&>(*this) = CWinTrustEntryPoints();
}

const CWinTrustLibrary& WinTrust() {
  static const CWinTrustLibrary* const library = new CWinTrustLibrary;
  return *library;
}
