#include "download/WinInetLibrary.h"

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

const CWinInetLibrary& WinInet() {
  static const CWinInetLibrary* const library = new CWinInetLibrary;
  return *library;
}
