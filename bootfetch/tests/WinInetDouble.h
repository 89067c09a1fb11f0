#pragma once

#include <windows.h>
#include <wininet.h>

#include <map>
#include <string>
#include <vector>

#include "download/WinInetLibrary.h"

// One answer of the double: its headers by query level, the status code
// among them, and its body, which breaks off after `cut` bytes.
struct CDoubleAnswer {
  std::map<DWORD, std::wstring> headers;
  std::string body;
  std::size_t cut = std::string::npos;
};

// Where the double holds a download until its handles close: a call left
// pending, or a read that takes its time inside the call.
enum class DoubleHold { kNone, kSend, kRead, kQuery, kInsideRead };

// What the double saw: its faults, the handles left open, and each request
// as WinInet would send it: the accept type and the no-cache flag as their
// headers, then the caller's headers.
struct CDoubleRecord {
  std::vector<std::string> faults;
  std::vector<std::wstring> requests;
  std::size_t openHandles = 0;
};

// WinInet in its asynchronous mode as Windows documents it, in the process,
// for what the downloader calls: a no-wait read with nothing buffered leaves
// buffer and size alone and completes later, or answers 0 at once
// (`zeroReads`); completions come from other threads, some before the call
// returns. A close under another thread's call and any use of a closed
// handle are faults. Stands in for WinInet while it lives; one at a time.
class CWinInetDouble {
 public:
  CWinInetDouble(std::vector<CDoubleAnswer> answers, DoubleHold hold, bool zeroReads);
  ~CWinInetDouble();
  CWinInetDouble(const CWinInetDouble&) = delete;
  CWinInetDouble& operator=(const CWinInetDouble&) = delete;

  // Whether the download reached the hold within the time.
  bool WaitForHold(DWORD milliseconds) const;
  CDoubleRecord Record() const;

 private:
  CWinInetSwap m_swap;
};
