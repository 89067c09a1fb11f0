#pragma once

// Switches that only the hardening tests' build of the program sets, so that
// each safeguard against planted DLLs can be shown to hold with the others
// off. The shipped program never sets them.
struct CTestSeams {
  bool noDllRestriction = false;         // no process-wide restriction at all
  bool noDefaultDllDirectories = false;  // as on a system without the call
  bool winInetByName = false;            // WinInet through the plain search
};

CTestSeams& TestSeams();
