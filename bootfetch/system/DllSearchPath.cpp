#include "system/DllSearchPath.h"

#include <windows.h>

#include "system/SystemLibrary.h"
#include "system/TestSeams.h"

namespace {

// System DLLs that the run loads by plain name after start-up (the theme,
// the window manager, the PNG icons' decoder, the hash of a pinned package,
// WinInet's own imports and what they load in turn, the publisher check's
// signature support for packages) and
// that are not among the known DLLs, which Windows maps from the system
// folder anyway. Loaded once by full path, each is then found by its name
// in the process before any folder is searched.
const wchar_t* const kLoadedByName[] = {
    L"uxtheme.dll",  L"dwmapi.dll",        L"version.dll",  L"cryptbase.dll", L"userenv.dll",
    L"profapi.dll",  L"msctf.dll",         L"propsys.dll",  L"oleacc.dll",    L"clbcatq.dll",
    L"iertutil.dll", L"urlmon.dll",        L"wininet.dll",  L"mpr.dll",       L"secur32.dll",
    L"sspicli.dll",  L"crypt32.dll",       L"msasn1.dll",   L"cryptsp.dll",   L"rsaenh.dll",
    L"bcrypt.dll",   L"mswsock.dll",       L"wship6.dll",   L"wshtcpip.dll",  L"iphlpapi.dll",
    L"winnsi.dll",   L"dnsapi.dll",        L"rasadhlp.dll", L"fwpuclnt.dll",  L"winhttp.dll",
    L"webio.dll",    L"dhcpcsvc.dll",      L"ntmarta.dll",  L"winmm.dll",     L"netapi32.dll",
    L"msimg32.dll",  L"windowscodecs.dll", L"wintrust.dll", L"imagehlp.dll",  L"msisip.dll",
    L"cryptnet.dll",
};

// Where SetDefaultDllDirectories is missing (Windows 7 without its security
// update), the program's folder stays first in the search for every DLL
// loaded by name, however late.
void LoadSystemDllsByFullPath() {
  // Those a system lacks are of no concern.
  for (const wchar_t* name : kLoadedByName) LoadSystemLibraryByFullPath(name);
}

}  // namespace

void RestrictDllSearchToSystemFolder() {
  if (TestSeams().noDllRestriction) return;
  // Takes the current folder out of the search on every system, before the
  // preload below looks for the dependencies of what it loads.
  SetDllDirectoryW(L"");
  const auto setDefault =
      SystemFunction<BOOL WINAPI(DWORD)>(L"kernel32.dll", "SetDefaultDllDirectories");
  if (setDefault == nullptr || TestSeams().noDefaultDllDirectories ||
      !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
    LoadSystemDllsByFullPath();
}
