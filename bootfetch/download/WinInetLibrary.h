#pragma once

#include <windows.h>
#include <wininet.h>

#include "system/SystemLibrary.h"

// The WinInet functions the downloader calls; null when not loaded.
struct CWinInetEntryPoints {
  decltype(&::InternetCrackUrlW) InternetCrackUrlW = nullptr;
  decltype(&::InternetOpenW) InternetOpenW = nullptr;
  decltype(&::InternetConnectW) InternetConnectW = nullptr;
  decltype(&::HttpOpenRequestW) HttpOpenRequestW = nullptr;
  decltype(&::HttpSendRequestW) HttpSendRequestW = nullptr;
  decltype(&::HttpQueryInfoW) HttpQueryInfoW = nullptr;
  decltype(&::InternetSetOptionW) InternetSetOptionW = nullptr;
  decltype(&::InternetSetStatusCallbackW) InternetSetStatusCallbackW = nullptr;
  decltype(&::InternetQueryDataAvailable) InternetQueryDataAvailable = nullptr;
  decltype(&::InternetReadFileExA) InternetReadFileExA = nullptr;
  decltype(&::InternetCloseHandle) InternetCloseHandle = nullptr;

  // Only a complete table has any entry point.
  bool IsLoaded() const { return InternetCloseHandle != nullptr; }
};

// WinInet, loaded at run time from the system folder only. It is not one of
// the DLLs Windows always takes from there, so importing it would let a
// wininet.dll planted beside the program (a browser's download folder) run
// before any of our code. Every entry point is null when the library or one
// of them could not be loaded.
class CWinInetLibrary : public CWinInetEntryPoints {
 public:
  CWinInetLibrary();

 private:
  CSystemLibrary m_library;
};

// The process's WinInet, loaded on first use and never unloaded: a worker
// left behind in a read may still be inside it when the process ends. A
// test's double stands in for it while a CWinInetSwap lives.
const CWinInetEntryPoints& WinInet();

// Puts a test's double in WinInet's place for its scope, which no download
// may outlive.
class CWinInetSwap {
 public:
  explicit CWinInetSwap(const CWinInetEntryPoints& table);
  ~CWinInetSwap();
  CWinInetSwap(const CWinInetSwap&) = delete;
  CWinInetSwap& operator=(const CWinInetSwap&) = delete;

 private:
  const CWinInetEntryPoints* const m_previous;
};
