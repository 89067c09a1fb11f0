#pragma once

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "WaitableHandle.h"

// What one request made in WinInet's asynchronous mode shares with WinInet:
// a call that goes on in the background signals its end here, and writes
// its results and the bytes it reads here. WinInet keeps a share of it
// until its notice that the request's handle closes, so a worker may give a
// call up at once, on a stop, without waiting for the network.
class CRequestContext {
 public:
  static const DWORD kBufferSize = 1024 * 1024;

  explicit CRequestContext(int buffers);
  CRequestContext(const CRequestContext&) = delete;
  CRequestContext& operator=(const CRequestContext&) = delete;

  // WinInet's share, as the context value the request is made with.
  static DWORD_PTR NewShare(const std::shared_ptr<CRequestContext>& context);
  // Frees a share that no request took.
  static void ReleaseShare(DWORD_PTR share);
  static void CALLBACK OnStatus(HINTERNET handle, DWORD_PTR share, DWORD status, LPVOID info,
                                DWORD infoLength);

  // Before each call that may go on in the background.
  void Arm() { ResetEvent(m_done.Get()); }
  // Waits up to the given time for the call to end: WAIT_OBJECT_0 when it has.
  DWORD Wait(DWORD milliseconds) const { return m_done.Wait(milliseconds); }
  bool Succeeded() const { return m_result != 0; }

  std::wstring headers;      // the request's own, which a send in the background reads
  DWORD available = 0;       // a query's answer
  INTERNET_BUFFERSA read{};  // a read's buffer and, once it ends, its size
  std::vector<char> buffers[2];

 private:
  CWaitableHandle m_done;  // manual reset, armed before each call
  std::atomic<DWORD> m_result{0};
};
