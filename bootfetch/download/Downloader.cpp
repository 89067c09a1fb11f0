#include "download/Downloader.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "StringUtils.h"
#include "checks/PackageChecks.h"
#include "download/HttpQueryInfo.h"

const wchar_t kUnexpectedStep[] = L"Unexpected failure";

namespace {

const wchar_t kAgent[] = L"setup_downloader";
const INTERNET_PORT kPort = 80;  // whatever port the URL names
// How long a stop waits for the worker before leaving it behind.
const DWORD kStopWaitMs = 500;
// How often a worker waiting for WinInet looks at the stop flag.
const DWORD kStopPollMs = 20;
// The most one read takes in: on a fast link the reads stay large.
const DWORD kLargestRead = CRequestContext::kBufferSize;
// Every run fetches the package itself: no cached copy, neither WinInet's
// nor a proxy's on the way, no second copy in the cache, no cookies, and no
// dialog of WinInet's own.
const DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE |
                            INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES |
                            INTERNET_FLAG_NO_UI;
// The flag asks HTTP/1.0 caches (Pragma); HTTP/1.1 caches read this.
const wchar_t kNoCacheHeader[] = L"Cache-Control: no-cache\r\n";
// Without any, some servers offer only text.
const wchar_t kAnyType[] = L"*/*";
const wchar_t* const kAcceptTypes[] = {kAnyType, nullptr};
// WinInet's own defaults differ between versions; under some there is none.
const DWORD kTimeoutOptions[] = {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                                 INTERNET_OPTION_RECEIVE_TIMEOUT};

// The step texts; they never reach the user.
const wchar_t kLoadWinInet[] = L"Load WinInet";
const wchar_t kUncheckablePin[] = L"Pin that cannot be checked";
const wchar_t kParseUrl[] = L"Parse url";
const wchar_t kNotHttpUrl[] = L"Not HTTP url";
const wchar_t kEmptyHost[] = L"Empty host in url";
const wchar_t kInternetOpen[] = L"Internet open";
const wchar_t kInternetConnect[] = L"Internet connect";
const wchar_t kOpenRequest[] = L"Open request";
const wchar_t kSendRequest[] = L"Send request";
const wchar_t kGetStatusCode[] = L"Get status code";
const wchar_t kInvalidStatusCode[] = L"Invalid status code";
const wchar_t kGetContentSize[] = L"Get content size";
const wchar_t kInvalidContentSize[] = L"Invalid content size";
const wchar_t kInvalidContentRange[] = L"Invalid content range";
const wchar_t kCreateFile[] = L"Create file";
const wchar_t kCreateThread[] = L"Create thread";
const wchar_t kDownloadFile[] = L"Download file";
const wchar_t kDownloadFileSize[] = L"Download file size";
const wchar_t kSaveFile[] = L"Save file";
const wchar_t kDiskSpace[] = L"Insufficient disk space";
const wchar_t kKeepFile[] = L"Keep file";
const wchar_t kReopenFile[] = L"Reopen file for reading";
const wchar_t kSilence[] = L"Silence";

// Thrown where the worker finds the stop flag raised: the attempt ends
// quietly, as stopped.
struct CStopped {};

// The connection failed or the body broke off: what the file holds is sound,
// and a retry may ask for the rest.
struct CConnectionLost {
  const wchar_t* step;
};

void ThrowIfStopped(const CDownloadAttempt& attempt) {
  if (attempt.stop) throw CStopped();
}

// A write, cut or keep refused through a file marked for deletion: a
// file-system filter may refuse what Windows documents for no caller after
// the older mark. The attempt starts over with an unmarked file.
struct CMarkRefused {};

void ThrowFileFault(const CDownloadAttempt& attempt, const wchar_t* step) {
  if (attempt.package.IsMarked()) throw CMarkRefused();
  throw CDownloader::CException(step);
}

// A package check that refused the package fails the attempt like any
// other failure: nothing is opened, and the file goes.
void ThrowIfRefused(const wchar_t* failedStep) {
  if (failedStep != nullptr) throw CDownloader::CException(failedStep);
}

// Ends a call that WinInet may go on with in the background; true once it
// has succeeded. A stop gives the call up at once, and the request's context
// outlives it.
bool Complete(const CDownloadAttempt& attempt, BOOL done) {
  if (done) return true;
  if (GetLastError() != ERROR_IO_PENDING) return false;
  DWORD waited = WAIT_TIMEOUT;
  while ((waited = attempt.context->Wait(kStopPollMs)) == WAIT_TIMEOUT) ThrowIfStopped(attempt);
  ThrowIfStopped(attempt);
  return waited == WAIT_OBJECT_0 && attempt.context->Succeeded();
}

// A server's text that can go back into a request header: a control
// character could end the header or add another.
bool IsHeaderSafe(const std::wstring& text) {
  return !text.empty() &&
         std::none_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x20 || c == 0x7F; });
}

// What proves that a later answer is the same file: a strong entity tag or,
// where the server gives no tag at all, the modification date. A weak tag
// proves nothing a byte range may rely on, and beside one a date must not
// stand in (RFC 9110, If-Range). Empty when no byte ranges are offered.
std::wstring ResumeValidator(HINTERNET request) {
  std::wstring text;
  if (!QueryInfoText(request, HTTP_QUERY_ACCEPT_RANGES, text) || lstrcmpiW(text.c_str(), L"bytes"))
    return std::wstring();
  if (QueryInfoText(request, HTTP_QUERY_ETAG, text))
    return text.compare(0, 2, L"W/") != 0 && IsHeaderSafe(text) ? text : std::wstring();
  if (QueryInfoText(request, HTTP_QUERY_LAST_MODIFIED, text) && IsHeaderSafe(text)) return text;
  return std::wstring();
}

// Past every cache and, for the rest of a kept part, only if it is still the
// same file.
std::wstring RequestHeaders(const CDownloadAttempt& attempt) {
  if (attempt.received == 0) return kNoCacheHeader;
  return kNoCacheHeader + (L"Range: bytes=" + IntToString(attempt.received)) + L"-\r\nIf-Range: " +
         attempt.validator + L"\r\n";
}

}  // namespace

CDownloader::CDownloader(DWORD timeoutMs)
    : m_timeoutMs(timeoutMs), m_attempt(std::make_shared<CDownloadAttempt>(L"", timeoutMs)) {}

CDownloader::~CDownloader() {
  Stop();
  CloseFile();
}

void CDownloader::Start(const std::wstring& url) {
  Stop();
  // A fresh attempt: no error, nothing received, and no file, so that an
  // early failure cannot delete the previous attempt's finished package.
  auto next = std::make_shared<CDownloadAttempt>(url, m_timeoutMs);
  // Where a body broke off, only the rest is asked for, into the same file.
  if (m_attempt->keepsPart && m_attempt->url == url) next->ResumeFrom(*m_attempt);
  next->unmarked = m_attempt->unmarked;
  CloseFile();
  m_attempt = std::move(next);
  RunGuarded(*m_attempt, [this] {
    CreateWorker();
    return OutcomeKind::kRunning;
  });
}

void CDownloader::Stop() {
  if (m_worker.Get() == nullptr) return;
  // The worker sees the flag within a poll, closes its handles and ends: a
  // handle may be closed only while no call is made on it, and only the
  // worker knows when that is.
  m_attempt->stop = true;
  if (WaitForWorker(kStopWaitMs) != WAIT_OBJECT_0) {
    // The worker is inside a call that does not return (a WinInet that
    // blocks, a hung name lookup). Closing the handles from here is the one
    // way left to end it, and the lesser risk than holding the caller up
    // until a silent server or the time-out gives up; failing that, the
    // worker is left to finish on its own, with the attempt it shares.
    m_attempt->CloseConnection();
    if (WaitForWorker(kStopWaitMs) != WAIT_OBJECT_0) {
      m_attempt->abandoned = true;
      m_attempt = m_attempt->Snapshot();
    }
  }
  m_worker.Close();
}

// A worker left behind deletes its file itself when it ends.
void CDownloader::Cancel() {
  Stop();
  m_attempt->package.Discard();
}

void CDownloader::ReleasePackage() {
  Stop();
  if (m_attempt->complete) m_attempt->package.Release();
}

bool CDownloader::IsDownloading() {
  if (m_worker.Get() == nullptr || WaitForWorker(0) == WAIT_OBJECT_0) return false;
  // Read before the clock: a later tick can only make the silence shorter.
  const DWORD lastHeard = m_attempt->lastHeard;
  if (GetTickCount() - lastHeard <= m_timeoutMs) return true;
  GiveUpOnSilence();
  return false;
}

double CDownloader::GetProgress() const {
  const std::int32_t length = m_attempt->contentLength;
  if (length < 0) return 0.0;  // no headers yet
  // An empty package is complete as soon as it has started.
  if (length == 0) return 1.0;
  return static_cast<double>(m_attempt->received) / static_cast<double>(length);
}

// Where the worker's end becomes its outcome, published once. Steps return
// the outcome of a success; kRunning publishes nothing, as when Start has
// only handed the attempt to the worker.
template <typename Steps>
void CDownloader::RunGuarded(CDownloadAttempt& attempt, Steps steps) {
  CDownloadOutcome outcome;
  try {
    outcome.kind = steps();
    if (outcome.kind == OutcomeKind::kRunning) return;
  } catch (const CStopped&) {
  } catch (const CConnectionLost& lost) {
    outcome.kind = OutcomeKind::kLost;
    outcome.step = lost.step;
  } catch (const CException& failed) {
    outcome.kind = OutcomeKind::kRefused;
    outcome.step = failed.GetStep();
  } catch (...) {
    outcome.kind = OutcomeKind::kRefused;
    outcome.step = kUnexpectedStep;
  }
  // Whatever ends a stopped attempt is the stop's doing (closing the handles
  // fails the call in progress). Silence, which the dialog's side finds,
  // stops the worker too: a connection lost like any other.
  if (attempt.stop && outcome.kind != OutcomeKind::kComplete) {
    outcome.kind = attempt.gaveUp ? OutcomeKind::kLost : OutcomeKind::kStopped;
    outcome.step = attempt.gaveUp ? kSilence : L"";
  }
  outcome.gained = attempt.gained;
  if (outcome.kind != OutcomeKind::kComplete) {
    attempt.EndFailed(outcome.kind == OutcomeKind::kLost);
    if (attempt.keepsPart) outcome.kind = OutcomeKind::kLostResumable;
  }
  attempt.outcome = outcome;
}

void CDownloader::CreateWorker() {
  // The worker's own share of the attempt, handed over with the thread.
  auto share = std::make_unique<std::shared_ptr<CDownloadAttempt>>(m_attempt);
  m_worker.Attach(CreateThread(nullptr, 0, ThreadProc, share.get(), 0, nullptr));
  if (m_worker.Get() == nullptr) throw CException(kCreateThread);
  share.release();
}

DWORD WINAPI CDownloader::ThreadProc(LPVOID parameter) {
  const std::unique_ptr<std::shared_ptr<CDownloadAttempt>> share(
      static_cast<std::shared_ptr<CDownloadAttempt>*>(parameter));
  CDownloadAttempt& attempt = **share;
  RunGuarded(attempt, [&attempt] {
    try {
      return RunAttempt(attempt);
    } catch (const CMarkRefused&) {
      attempt.RestartUnmarked();
      return RunAttempt(attempt);
    }
  });
  attempt.CloseConnection();
  return 0;
}

// The steps of one attempt, in the order they run, on the worker thread.
OutcomeKind CDownloader::RunAttempt(CDownloadAttempt& attempt) {
  if (!WinInet().IsLoaded()) throw CException(kLoadWinInet);
  ParseUrl(attempt);
  OpenConnection(attempt);
  const std::int32_t status = GetStatusCode(attempt);
  // A server that closes the connection without a byte of an answer: on
  // Windows the send fails (ERROR_HTTP_INVALID_SERVER_RESPONSE), where
  // Wine's WinInet answers with no status at all. Either way the network,
  // not the server's answer, has failed.
  if (status == 0) throw CConnectionLost{kSendRequest};
  if (attempt.received > 0 && status == HTTP_STATUS_PARTIAL_CONTENT)
    AcceptResumedAnswer(attempt);
  else if (status == HTTP_STATUS_OK)
    AcceptFirstAnswer(attempt);
  else
    throw CException(kInvalidStatusCode);
  attempt.answered = true;
  DownloadLoop(attempt);
  return OutcomeKind::kComplete;
}

void CDownloader::ParseUrl(CDownloadAttempt& attempt) {
  URL_COMPONENTSW components;
  static_assert(sizeof(components) == 60, "32-bit URL_COMPONENTSW");
  ZeroMemory(&components, sizeof(components));
  components.dwStructSize = sizeof(components);
  // A length of 1 asks for pointers into the URL instead of copies.
  components.dwHostNameLength = 1;
  components.dwUrlPathLength = 1;
  // The fragment stays here: it is the caller's, never the server's.
  std::wstring url;
  attempt.pin = ParsePackageUrl(attempt.url, url, attempt.pinnedDigest);
  if (attempt.pin == PinStatus::kUncheckable) throw CException(kUncheckablePin);
  if (!WinInet().InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &components))
    throw CException(kParseUrl);
  if (components.nScheme != INTERNET_SCHEME_HTTP) throw CException(kNotHttpUrl);
  if (components.dwHostNameLength == 0 || components.lpszHostName == nullptr)
    throw CException(kEmptyHost);
  attempt.host.assign(components.lpszHostName, components.dwHostNameLength);
  if (components.lpszUrlPath != nullptr)
    attempt.objectPath.assign(components.lpszUrlPath, components.dwUrlPathLength);
}

// WinInet works in its asynchronous mode, where every wait for the network
// is the worker's own (Complete): a stop ends it at once, on every WinInet.
// Each handle is published before its first use, so that the fallback of a
// stop (a worker stuck in a call) finds it to close.
void CDownloader::OpenConnection(CDownloadAttempt& attempt) {
  const CWinInetEntryPoints& api = WinInet();
  attempt.root.Attach(api.InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr,
                                        INTERNET_FLAG_ASYNC));
  if (attempt.root.Get() == nullptr) throw CException(kInternetOpen);
  if (api.InternetSetStatusCallbackW(attempt.root.Get(), &CRequestContext::OnStatus) ==
      INTERNET_INVALID_STATUS_CALLBACK)
    throw CException(kInternetOpen);
  SetTimeouts(attempt.root.Get(), attempt.timeoutMs);
  attempt.connection.Attach(api.InternetConnectW(attempt.root.Get(), attempt.host.c_str(), kPort,
                                                 nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (attempt.connection.Get() == nullptr) throw CException(kInternetConnect);
  attempt.context = std::make_shared<CRequestContext>(attempt.pin == PinStatus::kPinned ? 2 : 1);
  attempt.contextValue = CRequestContext::NewShare(attempt.context);
  attempt.request.Attach(api.HttpOpenRequestW(
      attempt.connection.Get(), nullptr, attempt.objectPath.c_str(), nullptr, nullptr,
      const_cast<LPCWSTR*>(kAcceptTypes), kRequestFlags, attempt.contextValue));
  if (attempt.request.Get() == nullptr) {
    CRequestContext::ReleaseShare(attempt.contextValue);
    throw CException(kOpenRequest);
  }
  // Some WinInet versions copy the time-outs into a request only when it is
  // made, others read them from the request alone.
  SetTimeouts(attempt.request.Get(), attempt.timeoutMs);
  ThrowIfStopped(attempt);
  CRequestContext& context = *attempt.context;
  context.headers = RequestHeaders(attempt);
  context.Arm();
  // WinInet connects here: the network, not the package, has failed.
  if (!Complete(attempt,
                api.HttpSendRequestW(attempt.request.Get(), context.headers.c_str(),
                                     static_cast<DWORD>(context.headers.size()), nullptr, 0)))
    throw CConnectionLost{kSendRequest};
  attempt.lastHeard = GetTickCount();
}

void CDownloader::SetTimeouts(HINTERNET handle, DWORD timeoutMs) {
  for (const DWORD option : kTimeoutOptions)
    WinInet().InternetSetOptionW(handle, option, &timeoutMs, sizeof(timeoutMs));
}

std::int32_t CDownloader::GetStatusCode(const CDownloadAttempt& attempt) {
  std::int32_t status = 0;
  if (!QueryInfoNumber(attempt.request.Get(), HTTP_QUERY_STATUS_CODE, status))
    throw CException(kGetStatusCode);
  return status;
}

std::int32_t CDownloader::GetContentSize(const CDownloadAttempt& attempt) {
  std::int32_t size = 0;
  if (!QueryInfoNumber(attempt.request.Get(), HTTP_QUERY_CONTENT_LENGTH, size))
    throw CException(kGetContentSize);
  // Sizes are 32-bit: StringToInt clamps every length of 2 GiB - 1 or more to
  // the maximum, so that value cannot be trusted either.
  if (size < 0 || size == std::numeric_limits<std::int32_t>::max())
    throw CException(kInvalidContentSize);
  return size;
}

// An answer with the whole body: into a new file or, on a retry, into the
// kept one, cut back to nothing.
void CDownloader::AcceptFirstAnswer(CDownloadAttempt& attempt) {
  const std::int32_t length = GetContentSize(attempt);
  attempt.validator = ResumeValidator(attempt.request.Get());
  attempt.received = 0;
  attempt.contentLength = length;
  if (!attempt.package.IsOpen())
    CreateTargetFile(attempt);
  else if (!attempt.package.Truncate(0))
    ThrowFileFault(attempt, kSaveFile);
}

// A partial answer goes after the kept part only when it is exactly the rest
// of the same whole: anything else would splice two files.
void CDownloader::AcceptResumedAnswer(CDownloadAttempt& attempt) {
  const std::int32_t kept = attempt.received;
  const std::int32_t whole = attempt.contentLength;
  const std::wstring expected =
      L"bytes " + IntToString(kept) + L"-" + IntToString(whole - 1) + L"/" + IntToString(whole);
  std::wstring range;
  if (!QueryInfoText(attempt.request.Get(), HTTP_QUERY_CONTENT_RANGE, range) || range != expected)
    throw CException(kInvalidContentRange);
  if (GetContentSize(attempt) != whole - kept) throw CException(kInvalidContentSize);
  // Whatever a failed write may have left past the kept part goes.
  if (!attempt.package.Truncate(kept)) ThrowFileFault(attempt, kSaveFile);
}

void CDownloader::CreateTargetFile(CDownloadAttempt& attempt) {
  if (!attempt.package.Create(attempt.unmarked ? DeletionMark::kNone : DeletionMark::kOnClose))
    throw CException(kCreateFile);
}

void CDownloader::DownloadLoop(CDownloadAttempt& attempt) {
  CPackageChecks checks(attempt.pin, attempt.pinnedDigest, attempt.context->buffers);
  // The checks cover the whole file, a kept part too.
  ThrowIfRefused(checks.Begin(attempt.package.Handle(), attempt.received));
  const std::int32_t length = attempt.contentLength;
  for (;;) {
    std::vector<char>& buffer = checks.Buffer();
    ThrowIfStopped(attempt);
    const std::int32_t received = attempt.received;
    // One byte more than the rest at most: a body that runs past its length
    // shows without waiting for more of it.
    const DWORD wanted = std::min(kLargestRead, static_cast<DWORD>(length - received) + 1);
    const DWORD read = Read(attempt, buffer.data(), wanted);
    if (read == 0 && received != length && MoreIsComing(attempt)) continue;
    if (read == 0) {
      if (received != length) throw CConnectionLost{kDownloadFileSize};
      FinishPackage(attempt, checks);
      return;
    }
    // Refused before writing: a server must not fill the disk past the size
    // it announced.
    if (read > static_cast<DWORD>(length - received)) throw CException(kDownloadFileSize);
    DWORD written = 0;
    if (!attempt.package.Write(buffer.data(), read, written)) ThrowFileFault(attempt, kSaveFile);
    if (written != read) throw CException(kDiskSpace);
    ThrowIfRefused(checks.Add(buffer.data(), read));
    attempt.received = received + static_cast<std::int32_t>(written);
    attempt.gained = true;
    attempt.lastHeard = GetTickCount();
  }
}

// The pin is checked first, through the handle that wrote the file. The
// write handle then goes, since an .msi is opened with deny-write sharing,
// by the system's package support during the check and by the installer
// after it; the handle that replaces it reads only, and keeps every writer
// out until the shell has been asked to open the package.
void CDownloader::FinishPackage(CDownloadAttempt& attempt, CPackageChecks& checks) {
  ThrowIfRefused(checks.FinishBody());
  if (!attempt.package.Keep()) ThrowFileFault(attempt, kKeepFile);
  if (!attempt.package.ReopenForReading()) throw CException(kReopenFile);
  ThrowIfRefused(checks.FinishFile(attempt.package.Handle(), attempt.package.Path()));
  attempt.complete = true;
}

// What has arrived, up to the size, without waiting until the buffer is
// full: such a read would, on a link that has slowed down, look like
// silence. Where nothing has arrived, Wine's WinInet waits in the background
// until something has, into its own buffer, and leaves the size as it was:
// the next read takes it. Where a WinInet answers at once that nothing has
// arrived (0), MoreIsComing waits.
DWORD CDownloader::Read(CDownloadAttempt& attempt, char* buffer, DWORD size) {
  CRequestContext& context = *attempt.context;
  for (;;) {
    context.read = INTERNET_BUFFERSA();
    context.read.dwStructSize = sizeof(context.read);
    context.read.lpvBuffer = buffer;
    context.read.dwBufferLength = size;
    context.Arm();
    // The A form: Windows leaves the W form unimplemented, and bytes have no
    // character set.
    const BOOL done = WinInet().InternetReadFileExA(attempt.request.Get(), &context.read,
                                                    IRF_ASYNC | IRF_NO_WAIT, attempt.contextValue);
    if (!Complete(attempt, done)) throw CConnectionLost{kDownloadFile};
    // After a wait, a size left as it was is no read; a read of exactly the
    // size, were it taken for none, would only make the body short, and so
    // fail.
    if (done || context.read.dwBufferLength != size) return context.read.dwBufferLength;
  }
}

// After a read that found nothing: waits until more of the body is there,
// or tells that it has ended.
bool CDownloader::MoreIsComing(CDownloadAttempt& attempt) {
  CRequestContext& context = *attempt.context;
  for (;;) {
    context.available = 0;
    context.Arm();
    const BOOL answered =
        WinInet().InternetQueryDataAvailable(attempt.request.Get(), &context.available, 0, 0);
    if (answered) return context.available > 0;
    // Once the data has come in the background, WinInet answers at once.
    if (!Complete(attempt, FALSE)) throw CConnectionLost{kDownloadFile};
  }
}

// Not every WinInet ends a connect, or any wait, at its time-out (some never
// do), so the attempt ends here all the same. The worker, raised as a
// failure, ends as lost and keeps what it received, as after any lost
// connection; one left behind ends lost too (Snapshot).
void CDownloader::GiveUpOnSilence() {
  m_attempt->gaveUp = true;
  Stop();
}

// The last attempt's file once its worker is done: a finished package stays,
// anything else goes.
void CDownloader::CloseFile() {
  if (m_attempt->complete)
    m_attempt->package.Release();
  else
    m_attempt->package.Discard();
}
