#include "WinInetDouble.h"

#include <algorithm>
#include <cstring>

namespace {

CWinInetDouble* self = nullptr;
// How much of a body arrives at once, and how long a read that holds takes.
const std::size_t kPiece = 1500;
const DWORD kInsideReadMs = 300;

}  // namespace

// Marks the caller as inside a call for the call's length, under the lock
// (which a call may let go of meanwhile), and sets its last error after.
class CWinInetDouble::CCall {
 public:
  template <typename Body>
  static BOOL Run(HINTERNET handle, Body body) {
    DWORD error = ERROR_SUCCESS;
    BOOL result = FALSE;
    {
      std::unique_lock<std::mutex> lock(self->m_lock);
      self->m_inCall = GetCurrentThreadId();
      if (handle == nullptr || self->IsOpen(handle))
        result = body(lock, error);
      else
        error = ERROR_INVALID_HANDLE;
      if (!lock.owns_lock()) lock.lock();
      self->m_inCall = 0;
    }
    SetLastError(error);
    return result;
  }
};

CWinInetDouble::CWinInetDouble(std::vector<CDoubleAnswer> answers, DoubleHold hold, bool zeroReads)
    : m_answers(std::move(answers)), m_hold(hold), m_zeroReads(zeroReads) {
  m_held.Attach(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  self = this;
  m_table.InternetCrackUrlW = &::InternetCrackUrlW;  // touches no network
  m_table.InternetOpenW = &Open;
  m_table.InternetConnectW = &Connect;
  m_table.HttpOpenRequestW = &OpenRequest;
  m_table.HttpSendRequestW = &SendRequest;
  m_table.HttpQueryInfoW = &QueryInfo;
  m_table.InternetSetOptionW = &SetOption;
  m_table.InternetSetStatusCallbackW = &SetCallback;
  m_table.InternetQueryDataAvailable = &QueryDataAvailable;
  m_table.InternetReadFileExA = &ReadFileEx;
  m_table.InternetCloseHandle = &Close;
  m_swap = std::make_unique<CWinInetSwap>(m_table);
}

CWinInetDouble::~CWinInetDouble() {
  m_swap.reset();
  for (std::thread& thread : m_threads) thread.join();
  self = nullptr;
}

std::vector<std::string> CWinInetDouble::Faults() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_faults;
}

std::vector<std::wstring> CWinInetDouble::SentHeaders() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_sent;
}

std::vector<DWORD> CWinInetDouble::RequestFlags() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_flags;
}

std::vector<std::wstring> CWinInetDouble::AcceptTypes() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_accept;
}

int CWinInetDouble::OpenHandles() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return static_cast<int>(std::count_if(m_handles.begin(), m_handles.end(),
                                        [](const auto& handle) { return handle.second; }));
}

int CWinInetDouble::ClosingNotices() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_closings;
}

HINTERNET CWinInetDouble::NewHandle() {
  const HINTERNET handle = reinterpret_cast<HINTERNET>(0x1000 + m_handles.size());
  m_handles[handle] = true;
  return handle;
}

bool CWinInetDouble::IsOpen(HINTERNET handle) {
  const auto found = m_handles.find(handle);
  if (found != m_handles.end() && found->second) return true;
  Fault("a call on a closed handle");
  return false;
}

// The call goes on in the background and ends on another thread, half the
// time before the call returns; one that holds ends only by a close.
BOOL CWinInetDouble::Pending(std::unique_lock<std::mutex>& lock, bool holds, bool arrives) {
  if (holds) {
    SetEvent(m_held.Get());
    return FALSE;
  }
  const HINTERNET request = m_request;
  const bool early = ++m_completions % 2 == 1;
  std::thread completion([this, request, early, arrives] {
    if (!early) Sleep(2);
    std::lock_guard<std::mutex> guard(m_lock);
    if (request != m_request || !m_handles[request]) return;  // cancelled by its close
    INTERNET_ASYNC_RESULT result = {TRUE, ERROR_SUCCESS};
    if (arrives && BodyBroken())
      result = {FALSE, ERROR_INTERNET_CONNECTION_RESET};
    else if (arrives)
      m_arrived = std::min(m_arrived + kPiece,
                           std::min(m_answers[m_answer].cut, m_answers[m_answer].body.size()));
    Notify(INTERNET_STATUS_REQUEST_COMPLETE, &result, sizeof(result));
  });
  if (early) {
    lock.unlock();
    completion.join();
    lock.lock();
  } else {
    m_threads.push_back(std::move(completion));
  }
  return FALSE;
}

void CWinInetDouble::Notify(DWORD status, void* info, DWORD size) {
  m_callback(m_request, m_context, status, info, size);
}

bool CWinInetDouble::BodyBroken() const {
  return m_taken == m_arrived && m_arrived == m_answers[m_answer].cut;
}

bool CWinInetDouble::BodyEnded() const {
  const CDoubleAnswer& answer = m_answers[m_answer];
  return m_arrived == answer.body.size() && answer.cut >= answer.body.size();
}

HINTERNET WINAPI CWinInetDouble::Open(LPCWSTR, DWORD, LPCWSTR, LPCWSTR, DWORD flags) {
  HINTERNET handle = nullptr;
  CCall::Run(nullptr, [&](std::unique_lock<std::mutex>&, DWORD&) {
    if (!(flags & INTERNET_FLAG_ASYNC)) self->Fault("a session that blocks");
    handle = self->NewHandle();
    return TRUE;
  });
  return handle;
}

INTERNET_STATUS_CALLBACK WINAPI CWinInetDouble::SetCallback(HINTERNET root,
                                                            INTERNET_STATUS_CALLBACK callback) {
  CCall::Run(root, [&](std::unique_lock<std::mutex>&, DWORD&) {
    self->m_callback = callback;
    return TRUE;
  });
  return nullptr;
}

BOOL WINAPI CWinInetDouble::SetOption(HINTERNET handle, DWORD, LPVOID, DWORD) {
  return CCall::Run(handle, [](std::unique_lock<std::mutex>&, DWORD&) { return TRUE; });
}

HINTERNET WINAPI CWinInetDouble::Connect(HINTERNET root, LPCWSTR, INTERNET_PORT, LPCWSTR, LPCWSTR,
                                         DWORD, DWORD, DWORD_PTR) {
  HINTERNET handle = nullptr;
  CCall::Run(root, [&](std::unique_lock<std::mutex>&, DWORD&) {
    handle = self->NewHandle();
    return TRUE;
  });
  return handle;
}

HINTERNET WINAPI CWinInetDouble::OpenRequest(HINTERNET connection, LPCWSTR, LPCWSTR, LPCWSTR,
                                             LPCWSTR, LPCWSTR* types, DWORD flags,
                                             DWORD_PTR context) {
  HINTERNET handle = nullptr;
  CCall::Run(connection, [&](std::unique_lock<std::mutex>&, DWORD&) {
    self->m_answer = std::min(self->m_flags.size(), self->m_answers.size() - 1);
    self->m_flags.push_back(flags);
    self->m_accept.push_back(types && types[0] ? types[0] : L"");
    self->m_request = handle = self->NewHandle();
    self->m_context = context;
    self->m_arrived = self->m_taken = 0;
    return TRUE;
  });
  return handle;
}

BOOL WINAPI CWinInetDouble::SendRequest(HINTERNET request, LPCWSTR headers, DWORD length, LPVOID,
                                        DWORD) {
  return CCall::Run(request, [&](std::unique_lock<std::mutex>& lock, DWORD& error) {
    self->m_sent.push_back(headers ? std::wstring(headers, length) : std::wstring());
    error = ERROR_IO_PENDING;
    return self->Pending(lock, self->m_hold == DoubleHold::kSend, false);
  });
}

BOOL WINAPI CWinInetDouble::QueryInfo(HINTERNET request, DWORD level, LPVOID buffer, LPDWORD length,
                                      LPDWORD) {
  return CCall::Run(request, [&](std::unique_lock<std::mutex>&, DWORD& error) {
    const auto& headers = self->m_answers[self->m_answer].headers;
    const auto found = headers.find(level);
    if (found == headers.end()) {
      error = ERROR_HTTP_HEADER_NOT_FOUND;
      return FALSE;
    }
    const DWORD needed = static_cast<DWORD>((found->second.size() + 1) * sizeof(wchar_t));
    if (buffer == nullptr || *length < needed) {
      *length = needed;
      error = ERROR_INSUFFICIENT_BUFFER;
      return FALSE;
    }
    std::memcpy(buffer, found->second.c_str(), needed);
    *length = needed - sizeof(wchar_t);
    return TRUE;
  });
}

BOOL WINAPI CWinInetDouble::QueryDataAvailable(HINTERNET request, LPDWORD available, DWORD,
                                               DWORD_PTR) {
  return CCall::Run(request, [&](std::unique_lock<std::mutex>& lock, DWORD& error) {
    if (self->m_taken == self->m_arrived && !self->BodyEnded()) {
      error = ERROR_IO_PENDING;
      return self->Pending(lock, self->m_hold == DoubleHold::kQuery && self->m_taken > 0, true);
    }
    *available = static_cast<DWORD>(self->m_arrived - self->m_taken);
    return TRUE;
  });
}

BOOL WINAPI CWinInetDouble::ReadFileEx(HINTERNET request, LPINTERNET_BUFFERSA buffers, DWORD flags,
                                       DWORD_PTR) {
  return CCall::Run(request, [&](std::unique_lock<std::mutex>& lock, DWORD& error) {
    if (!(flags & IRF_NO_WAIT)) self->Fault("a read that waits for a full buffer");
    const std::size_t buffered = self->m_arrived - self->m_taken;
    if (buffered == 0 && !self->BodyEnded()) {
      if (self->m_zeroReads) {
        buffers->dwBufferLength = 0;
        return TRUE;
      }
      error = ERROR_IO_PENDING;
      return self->Pending(lock, self->m_hold == DoubleHold::kRead && self->m_taken > 0, true);
    }
    if (self->m_hold == DoubleHold::kInsideRead && self->m_taken > 0) {
      SetEvent(self->m_held.Get());
      lock.unlock();
      Sleep(kInsideReadMs);
      lock.lock();
    }
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(buffered, buffers->dwBufferLength));
    std::memcpy(buffers->lpvBuffer, self->m_answers[self->m_answer].body.data() + self->m_taken,
                size);
    self->m_taken += size;
    buffers->dwBufferLength = size;
    return TRUE;
  });
}

BOOL WINAPI CWinInetDouble::Close(HINTERNET handle) {
  std::lock_guard<std::mutex> guard(self->m_lock);
  if (self->m_inCall != 0 && self->m_inCall != GetCurrentThreadId())
    self->Fault("a handle closed under another thread's call");
  const auto found = self->m_handles.find(handle);
  if (found == self->m_handles.end() || !found->second) {
    self->Fault("a handle closed twice");
    return FALSE;
  }
  found->second = false;
  if (handle == self->m_request) {
    ++self->m_closings;
    self->Notify(INTERNET_STATUS_HANDLE_CLOSING, &handle, sizeof(handle));
  }
  return TRUE;
}
