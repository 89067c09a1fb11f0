#pragma once

#include <windows.h>
#include <wincrypt.h>
#include <wintrust.h>

#include "system/SystemLibrary.h"

// The functions of wintrust.dll and crypt32.dll that the publisher check
// calls; null when not loaded.
struct CWinTrustEntryPoints {
  decltype(&::WinVerifyTrust) WinVerifyTrust = nullptr;
  decltype(&::WTHelperProvDataFromStateData) WTHelperProvDataFromStateData = nullptr;
  decltype(&::WTHelperGetProvSignerFromChain) WTHelperGetProvSignerFromChain = nullptr;
  decltype(&::WTHelperGetProvCertFromChain) WTHelperGetProvCertFromChain = nullptr;
  decltype(&::CertCompareCertificateName) CertCompareCertificateName = nullptr;
};

// WinTrust and CryptoAPI's certificate half, loaded at run time from the
// system folder only: neither is among the DLLs Windows always takes from
// there, so importing them would let a copy planted beside the program run
// first. Every entry point is null when a library or one of them could not
// be loaded.
class CWinTrustLibrary : public CWinTrustEntryPoints {
 public:
  CWinTrustLibrary();

  bool IsLoaded() const { return m_wintrust.IsCreated() && m_crypt32.IsCreated(); }

 private:
  CSystemLibrary m_wintrust;
  CSystemLibrary m_crypt32;
};

// The process's WinTrust, loaded on first use and never unloaded: a worker
// left behind in a check may still be inside it when the process ends.
const CWinTrustLibrary& WinTrust();
