#include "WinInetDouble.h"

#include <algorithm>
#include <cstring>
#include <mutex>
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
  std::map<HINTERNET, bool> handles;  // open or closed
  INTERNET_STATUS_CALLBACK callback = nullptr;
  DWORD inCall = 0;  // the thread inside a call, if any
  // The request under way and its body: arrived, and taken by reads.
  HINTERNET request = nullptr;
  DWORD_PTR context = 0;
  std::size_t answer = 0, arrived = 0, taken = 0;
  int completions = 0;
  std::vector<std::thread> threads;

  const CDoubleAnswer& Answer() const { return answers[answer]; }
  bool Broken() const { return taken == arrived && arrived == Answer().cut; }
  bool Ended() const { return arrived == Answer().body.size() && Answer().cut >= arrived; }
  bool Holds(DoubleHold where) const { return hold == where && taken > 0; }
  HINTERNET NewHandle() {
    const HINTERNET handle = reinterpret_cast<HINTERNET>(0x1000 + handles.size());
    handles[handle] = true;
    return handle;
  }
  void Notify(DWORD status, void* info, DWORD size) {
    callback(request, context, status, info, size);
  }
};

CState* state = nullptr;

// Runs a call's body under the lock, which it may let go of meanwhile, as
// the caller's call, and sets the last error after.
template <typename Body>
BOOL Call(HINTERNET handle, Body body) {
  DWORD error = ERROR_SUCCESS;
  BOOL result = FALSE;
  {
    CLock lock(state->lock);
    state->inCall = GetCurrentThreadId();
    const auto found = state->handles.find(handle);
    if (handle == nullptr || (found != state->handles.end() && found->second)) {
      result = body(lock, error);
    } else {
      state->record.faults.push_back("a call on a closed handle");
      error = ERROR_INVALID_HANDLE;
    }
    if (!lock.owns_lock()) lock.lock();
    state->inCall = 0;
  }
  SetLastError(error);
  return result;
}

// The call goes on in the background and ends on another thread, half the
// time before the call returns; one that holds ends only by a close.
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
    if (request != state->request || !state->handles[request]) return;  // cancelled by a close
    INTERNET_ASYNC_RESULT result = {TRUE, ERROR_SUCCESS};
    if (arrives && state->Broken())
      result = {FALSE, ERROR_INTERNET_CONNECTION_RESET};
    else if (arrives)
      state->arrived =
          std::min({state->arrived + kPiece, state->Answer().cut, state->Answer().body.size()});
    state->Notify(INTERNET_STATUS_REQUEST_COMPLETE, &result, sizeof(result));
  });
  if (early) {
    lock.unlock();
    completion.join();
    lock.lock();
  } else {
    state->threads.push_back(std::move(completion));
  }
  return FALSE;
}

HINTERNET NewHandle(HINTERNET parent) {
  HINTERNET handle = nullptr;
  Call(parent, [&](CLock&, DWORD&) {
    handle = state->NewHandle();
    return TRUE;
  });
  return handle;
}

HINTERNET WINAPI Open(LPCWSTR, DWORD, LPCWSTR, LPCWSTR, DWORD) { return NewHandle(nullptr); }

INTERNET_STATUS_CALLBACK WINAPI SetCallback(HINTERNET, INTERNET_STATUS_CALLBACK callback) {
  std::lock_guard<std::mutex> guard(state->lock);
  state->callback = callback;
  return nullptr;
}

BOOL WINAPI SetOption(HINTERNET handle, DWORD, LPVOID, DWORD) {
  return Call(handle, [](CLock&, DWORD&) { return TRUE; });
}

HINTERNET WINAPI Connect(HINTERNET root, LPCWSTR, INTERNET_PORT, LPCWSTR, LPCWSTR, DWORD, DWORD,
                         DWORD_PTR) {
  return NewHandle(root);
}

HINTERNET WINAPI OpenRequest(HINTERNET connection, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR,
                             LPCWSTR* types, DWORD flags, DWORD_PTR context) {
  HINTERNET handle = nullptr;
  Call(connection, [&](CLock&, DWORD&) {
    CDoubleRecord& record = state->record;
    state->answer = std::min(record.flags.size(), state->answers.size() - 1);
    record.flags.push_back(flags);
    record.acceptTypes.push_back(types && types[0] ? types[0] : L"");
    state->request = handle = state->NewHandle();
    state->context = context;
    state->arrived = state->taken = 0;
    return TRUE;
  });
  return handle;
}

BOOL WINAPI SendRequest(HINTERNET request, LPCWSTR headers, DWORD length, LPVOID, DWORD) {
  return Call(request, [&](CLock& lock, DWORD& error) {
    state->record.headers.push_back(headers ? std::wstring(headers, length) : std::wstring());
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
    if (state->taken == state->arrived && !state->Ended())
      return Pending(lock, error, state->Holds(DoubleHold::kQuery), true);
    *available = static_cast<DWORD>(state->arrived - state->taken);
    return TRUE;
  });
}

BOOL WINAPI ReadFileEx(HINTERNET request, LPINTERNET_BUFFERSA buffers, DWORD flags, DWORD_PTR) {
  return Call(request, [&](CLock& lock, DWORD& error) {
    if (!(flags & IRF_NO_WAIT)) state->record.faults.push_back("a read that waits");
    const std::size_t buffered = state->arrived - state->taken;
    if (buffered == 0 && !state->Ended()) {
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
  const auto found = state->handles.find(handle);
  if (found == state->handles.end() || !found->second) {
    state->record.faults.push_back("a handle closed twice");
    return FALSE;
  }
  found->second = false;
  if (handle == state->request) {
    ++state->record.closingNotices;
    state->Notify(INTERNET_STATUS_HANDLE_CLOSING, &handle, sizeof(handle));
  }
  return TRUE;
}

}  // namespace

CWinInetDouble::CWinInetDouble(std::vector<CDoubleAnswer> answers, DoubleHold hold,
                               bool zeroReads) {
  state = new CState;
  state->answers = std::move(answers);
  state->hold = hold;
  state->zeroReads = zeroReads;
  state->held.Attach(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  // WinInet's own parser touches no network.
  m_table = {&::InternetCrackUrlW, &Open,       &Connect,   &OpenRequest,
             &SendRequest,         &QueryInfo,  &SetOption, &SetCallback,
             &QueryDataAvailable,  &ReadFileEx, &Close};
  m_swap = std::make_unique<CWinInetSwap>(m_table);
}

CWinInetDouble::~CWinInetDouble() {
  m_swap.reset();
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
  record.openHandles = static_cast<int>(std::count_if(state->handles.begin(), state->handles.end(),
                                                      [](const auto& h) { return h.second; }));
  return record;
}
