#include "download/WinInetLibrary.h"

#include <atomic>

#include "system/TestSeams.h"

CWinInetLibrary::CWinInetLibrary() {
  if (TestSeams().winInetByName)
    m_library.Attach(LoadLibraryW(L"wininet.dll"));
  else
    m_library.Load(L"wininet.dll");
  if (!m_library.IsCreated()) return;
  const CSystemLibrary& dll = m_library;
  const bool complete = dll.GetProc("InternetCrackUrlW", InternetCrackUrlW) &&
                        dll.GetProc("InternetOpenW", InternetOpenW) &&
                        dll.GetProc("InternetConnectW", InternetConnectW) &&
                        dll.GetProc("HttpOpenRequestW", HttpOpenRequestW) &&
                        dll.GetProc("HttpSendRequestW", HttpSendRequestW) &&
                        dll.GetProc("HttpQueryInfoW", HttpQueryInfoW) &&
                        dll.GetProc("InternetSetOptionW", InternetSetOptionW) &&
                        dll.GetProc("InternetSetStatusCallbackW", InternetSetStatusCallbackW) &&
                        dll.GetProc("InternetQueryDataAvailable", InternetQueryDataAvailable) &&
                        dll.GetProc("InternetReadFileExA", InternetReadFileExA) &&
                        dll.GetProc("InternetCloseHandle", InternetCloseHandle);
  if (complete) return;
  m_library.Close();
  static_cast<CWinInetEntryPoints&>(*this) = CWinInetEntryPoints();
}

namespace {

std::atomic<const CWinInetEntryPoints*> swapped{nullptr};

}  // namespace

const CWinInetEntryPoints& WinInet() {
  if (const CWinInetEntryPoints* const table = swapped) return *table;
  static const CWinInetLibrary* const library = new CWinInetLibrary;
  return *library;
}

CWinInetSwap::CWinInetSwap(const CWinInetEntryPoints& table)
    : m_previous(swapped.exchange(&table)) {}

CWinInetSwap::~CWinInetSwap() { swapped = m_previous; }
