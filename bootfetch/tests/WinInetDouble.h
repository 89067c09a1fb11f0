#pragma once

#include <windows.h>
#include <wininet.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "WaitableHandle.h"
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

  // Whether the download reached the hold within the time.
  bool WaitForHold(DWORD milliseconds) const { return m_held.Wait(milliseconds) == WAIT_OBJECT_0; }
  std::vector<std::string> Faults() const;
  // The headers, flags and accept type of each request made so far.
  std::vector<std::wstring> SentHeaders() const;
  std::vector<DWORD> RequestFlags() const;
  std::vector<std::wstring> AcceptTypes() const;
  int OpenHandles() const;
  int ClosingNotices() const;

 private:
  class CCall;
  void Fault(const char* what) { m_faults.push_back(what); }
  HINTERNET NewHandle();
  bool IsOpen(HINTERNET handle);
  BOOL Pending(std::unique_lock<std::mutex>& lock, bool holds, bool arrives);
  void Notify(DWORD status, void* info, DWORD size);
  bool BodyBroken() const;
  bool BodyEnded() const;

  static HINTERNET WINAPI Open(LPCWSTR, DWORD, LPCWSTR, LPCWSTR, DWORD);
  static INTERNET_STATUS_CALLBACK WINAPI SetCallback(HINTERNET, INTERNET_STATUS_CALLBACK);
  static BOOL WINAPI SetOption(HINTERNET, DWORD, LPVOID, DWORD);
  static HINTERNET WINAPI Connect(HINTERNET, LPCWSTR, INTERNET_PORT, LPCWSTR, LPCWSTR, DWORD, DWORD,
                                  DWORD_PTR);
  static HINTERNET WINAPI OpenRequest(HINTERNET, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR*,
                                      DWORD, DWORD_PTR);
  static BOOL WINAPI SendRequest(HINTERNET, LPCWSTR, DWORD, LPVOID, DWORD);
  static BOOL WINAPI QueryInfo(HINTERNET, DWORD, LPVOID, LPDWORD, LPDWORD);
  static BOOL WINAPI QueryDataAvailable(HINTERNET, LPDWORD, DWORD, DWORD_PTR);
  static BOOL WINAPI ReadFileEx(HINTERNET, LPINTERNET_BUFFERSA, DWORD, DWORD_PTR);
  static BOOL WINAPI Close(HINTERNET);

  const std::vector<CDoubleAnswer> m_answers;
  const DoubleHold m_hold;
  const bool m_zeroReads;
  CWaitableHandle m_held;
  mutable std::mutex m_lock;
  std::vector<std::string> m_faults;
  std::map<HINTERNET, bool> m_handles;  // open or closed
  INTERNET_STATUS_CALLBACK m_callback = nullptr;
  DWORD m_inCall = 0;  // the thread inside a call, if any
  // The request under way and its body: arrived, and taken by reads.
  HINTERNET m_request = nullptr;
  DWORD_PTR m_context = 0;
  std::size_t m_answer = 0, m_arrived = 0, m_taken = 0;
  int m_completions = 0, m_closings = 0;
  std::vector<std::wstring> m_sent, m_accept;
  std::vector<DWORD> m_flags;
  std::vector<std::thread> m_threads;
  CWinInetEntryPoints m_table;
  std::unique_ptr<CWinInetSwap> m_swap;
};
