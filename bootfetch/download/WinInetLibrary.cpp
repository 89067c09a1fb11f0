#include "download/WinInetLibrary.h"

#include "system/SystemLibrary.h"
#include "system/TestSeams.h"

namespace {

HMODULE LoadFromSystemFolder(const wchar_t* name) {
  if (TestSeams().winInetByName) return LoadLibraryW(name);
  HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return module;
  // Systems that predate the search flags reject them; a full path keeps the
  // load in the system folder there too.
  return LoadSystemLibraryByFullPath(name);
}

}  // namespace

CWinInetLibrary::CWinInetLibrary() : m_module(LoadFromSystemFolder(L"wininet.dll")) {
  if (m_module == nullptr) return;
  const bool complete =
      Resolve(InternetCrackUrlW, "InternetCrackUrlW") && Resolve(InternetOpenW, "InternetOpenW") &&
      Resolve(InternetConnectW, "InternetConnectW") &&
      Resolve(HttpOpenRequestW, "HttpOpenRequestW") &&
      Resolve(HttpSendRequestW, "HttpSendRequestW") && Resolve(HttpQueryInfoW, "HttpQueryInfoW") &&
      Resolve(InternetSetOptionW, "InternetSetOptionW") &&
      Resolve(InternetSetStatusCallbackW, "InternetSetStatusCallbackW") &&
      Resolve(InternetQueryDataAvailable, "InternetQueryDataAvailable") &&
      Resolve(InternetReadFileExA, "InternetReadFileExA") &&
      Resolve(InternetCloseHandle, "InternetCloseHandle");
  if (complete) return;
  FreeLibrary(m_module);
  m_module = nullptr;
  static_cast<CWinInetEntryPoints&>(*this) = CWinInetEntryPoints();
}

CWinInetLibrary::~CWinInetLibrary() {
  if (m_module != nullptr) FreeLibrary(m_module);
}

template <typename Function>
bool CWinInetLibrary::Resolve(Function& function, const char* name) {
  // The one cast from the loader's untyped address to the entry point's type.
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
  return function != nullptr;
}

const CWinInetLibrary& WinInet() {
  static const CWinInetLibrary* const library = new CWinInetLibrary;
  return *library;
}
