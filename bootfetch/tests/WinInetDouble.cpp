#include "WinInetDouble.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>

#include "WaitableHandle.h"

namespace {

// How much of a body arrives at once, and how long a read that holds takes.
const std::size_t kPiece = 1500;
const DWORD kInsideReadMs = 300;

typedef std::unique_lock<std::mutex> CLock;

struct CState {
  std::vector<CDoubleAnswer> answers;
  DoubleHold hold = DoubleHold::kNone;
  bool zeroReads = false;
  CWaitableHandle held;
  std::mutex lock;
  CDoubleRecord record;
  std::set<HINTERNET> open;
  std::size_t made = 0;  // handles so far; none is made twice
  INTERNET_STATUS_CALLBACK callback = nullptr;
  DWORD inCall = 0;  // the thread inside a call, if any
  // The request under way and its body: arrived, and taken by reads.
  HINTERNET request = nullptr;
  DWORD_PTR context = 0;
  std::size_t arrived = 0, taken = 0;
  int completions = 0;
  std::vector<std::thread> threads;

  // The last answer serves every request past it.
  const CDoubleAnswer& Answer() const {
    return answers[std::min(record.requests.size(), answers.size()) - 1];
  }
  // Nothing buffered, and more to come or a break-off to tell.
  bool Waits() const {
    return taken == arrived && (arrived != Answer().body.size() || Answer().cut < arrived);
  }
  bool Holds(DoubleHold where) const { return hold == where && taken > 0; }
  HINTERNET NewHandle() { return *open.insert(reinterpret_cast<HINTERNET>(0x1000 + ++made)).first; }
};

CState* state = nullptr;

// Runs a call's body under the lock, which it may let go of meanwhile, as
// the caller's call, and sets the last error after.
template <typename Body>
BOOL Call(HINTERNET handle, Body body) {
  CLock lock(state->lock);
  state->inCall = GetCurrentThreadId();
  const bool open = handle == nullptr || state->open.count(handle);
  if (!open) state->record.faults.push_back("a call on a closed handle");
  DWORD error = open ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
  const BOOL result = open && body(lock, error);
  if (!lock.owns_lock()) lock.lock();
  state->inCall = 0;
  SetLastError(error);
  return result;
}

// The call goes on in the background and ends on another thread, half the
// time before the call returns; one that holds ends only by a close. A
// body that breaks off fails the call that waits past its end.
BOOL Pending(CLock& lock, DWORD& error, bool holds, bool arrives) {
  error = ERROR_IO_PENDING;
  if (holds) {
    SetEvent(state->held.Get());
    return FALSE;
  }
  const HINTERNET request = state->request;
  const bool early = ++state->completions % 2 == 1;
  std::thread completion([request, early, arrives] {
    if (!early) Sleep(2);
    std::lock_guard<std::mutex> guard(state->lock);
    if (!state->open.count(request)) return;  // cancelled by a close
    const CDoubleAnswer& answer = state->Answer();
    INTERNET_ASYNC_RESULT result = {TRUE, ERROR_SUCCESS};
    if (arrives && state->arrived == answer.cut)
      result = {FALSE, ERROR_INTERNET_CONNECTION_RESET};
    else if (arrives)
      state->arrived = std::min({state->arrived + kPiece, answer.cut, answer.body.size()});
    state->callback(request, state->context, INTERNET_STATUS_REQUEST_COMPLETE, &result,
                    sizeof(result));
  });
  if (early) {
    lock.unlock();
    completion.join();
  } else {
    state->threads.push_back(std::move(completion));
  }
  return FALSE;
}

HINTERNET NewHandle(HINTERNET parent) {
  HINTERNET handle = nullptr;
  Call(parent, [&](CLock&, DWORD&) { return (handle = state->NewHandle()) != nullptr; });
  return handle;
}

HINTERNET WINAPI Open(LPCWSTR, DWORD, LPCWSTR, LPCWSTR, DWORD) { return NewHandle(nullptr); }

HINTERNET WINAPI Connect(HINTERNET root, LPCWSTR, INTERNET_PORT, LPCWSTR, LPCWSTR, DWORD, DWORD,
                         DWORD_PTR) {
  return NewHandle(root);
}

// Set before any call that completes.
INTERNET_STATUS_CALLBACK WINAPI SetCallback(HINTERNET, INTERNET_STATUS_CALLBACK callback) {
  state->callback = callback;
  return nullptr;
}

BOOL WINAPI SetOption(HINTERNET handle, DWORD, LPVOID, DWORD) {
  return Call(handle, [](CLock&, DWORD&) { return TRUE; });
}

HINTERNET WINAPI OpenRequest(HINTERNET connection, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR,
                             LPCWSTR* types, DWORD flags, DWORD_PTR context) {
  HINTERNET handle = nullptr;
  Call(connection, [&](CLock&, DWORD&) {
    state->record.requests.push_back(
        std::wstring(L"Accept: ") + (types && types[0] ? types[0] : L"") + L"\r\n" +
        (flags & INTERNET_FLAG_PRAGMA_NOCACHE ? L"Pragma: no-cache\r\n" : L""));
    state->request = handle = state->NewHandle();
    state->context = context;
    state->arrived = state->taken = 0;
    return TRUE;
  });
  return handle;
}

BOOL WINAPI SendRequest(HINTERNET request, LPCWSTR headers, DWORD length, LPVOID, DWORD) {
  return Call(request, [&](CLock& lock, DWORD& error) {
    if (headers) state->record.requests.back().append(headers, length);
    return Pending(lock, error, state->hold == DoubleHold::kSend, false);
  });
}

BOOL WINAPI QueryInfo(HINTERNET request, DWORD level, LPVOID buffer, LPDWORD length, LPDWORD) {
  return Call(request, [&](CLock&, DWORD& error) {
    const auto found = state->Answer().headers.find(level);
    if (found == state->Answer().headers.end()) {
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

BOOL WINAPI QueryDataAvailable(HINTERNET request, LPDWORD available, DWORD, DWORD_PTR) {
  return Call(request, [&](CLock& lock, DWORD& error) {
    if (state->Waits()) return Pending(lock, error, state->Holds(DoubleHold::kQuery), true);
    *available = static_cast<DWORD>(state->arrived - state->taken);
    return TRUE;
  });
}

BOOL WINAPI ReadFileEx(HINTERNET request, LPINTERNET_BUFFERSA buffers, DWORD flags, DWORD_PTR) {
  return Call(request, [&](CLock& lock, DWORD& error) {
    if (!(flags & IRF_NO_WAIT)) state->record.faults.push_back("a read that waits");
    const std::size_t buffered = state->arrived - state->taken;
    if (state->Waits()) {
      if (!state->zeroReads) return Pending(lock, error, state->Holds(DoubleHold::kRead), true);
      buffers->dwBufferLength = 0;
      return TRUE;
    }
    if (state->Holds(DoubleHold::kInsideRead)) {
      SetEvent(state->held.Get());
      lock.unlock();
      Sleep(kInsideReadMs);
      lock.lock();
    }
    const std::size_t size = std::min<std::size_t>(buffered, buffers->dwBufferLength);
    std::memcpy(buffers->lpvBuffer, state->Answer().body.data() + state->taken, size);
    state->taken += size;
    buffers->dwBufferLength = static_cast<DWORD>(size);
    return TRUE;
  });
}

BOOL WINAPI Close(HINTERNET handle) {
  std::lock_guard<std::mutex> guard(state->lock);
  if (state->inCall != 0 && state->inCall != GetCurrentThreadId())
    state->record.faults.push_back("a handle closed under another thread's call");
  if (state->open.erase(handle) == 0) {
    state->record.faults.push_back("a handle closed twice");
    return FALSE;
  }
  if (handle == state->request)
    state->callback(handle, state->context, INTERNET_STATUS_HANDLE_CLOSING, &handle,
                    sizeof(handle));
  return TRUE;
}

// WinInet's own parser touches no network.
const CWinInetEntryPoints kTable = {&::InternetCrackUrlW, &Open,       &Connect,   &OpenRequest,
                                    &SendRequest,         &QueryInfo,  &SetOption, &SetCallback,
                                    &QueryDataAvailable,  &ReadFileEx, &Close};

}  // namespace

CWinInetDouble::CWinInetDouble(std::vector<CDoubleAnswer> answers, DoubleHold hold, bool zeroReads)
    : m_swap(kTable) {
  state = new CState;
  state->answers = std::move(answers);
  state->hold = hold;
  state->zeroReads = zeroReads;
  state->held.Attach(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

// No download is left by now; completions still on their way end first.
CWinInetDouble::~CWinInetDouble() {
  for (std::thread& thread : state->threads) thread.join();
  delete state;
  state = nullptr;
}

bool CWinInetDouble::WaitForHold(DWORD milliseconds) const {
  return state->held.Wait(milliseconds) == WAIT_OBJECT_0;
}

CDoubleRecord CWinInetDouble::Record() const {
  std::lock_guard<std::mutex> guard(state->lock);
  CDoubleRecord record = state->record;
  record.openHandles = state->open.size();
  return record;
}
