#include "Downloader.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "BackgroundHasher.h"
#include "MessageTexts.h"
#include "HttpQueryInfo.h"
#include "ReadSize.h"
#include "TempFiles.h"

namespace {

const wchar_t kAgent[] = L"setup_downloader";
const INTERNET_PORT kPort = 80;  // whatever port the URL names
// How long a stop waits for the worker before leaving it behind.
const DWORD kStopWaitMs = 500;
// Every run fetches the package itself: no cached copy, no second copy in
// the cache, no cookies, and no dialog of WinInet's own.
const DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                            INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
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
const wchar_t kCreateFile[] = L"Create file";
const wchar_t kCreateThread[] = L"Create thread";
const wchar_t kDownloadFile[] = L"Download file";
const wchar_t kDownloadFileSize[] = L"Download file size";
const wchar_t kSaveFile[] = L"Save file";
const wchar_t kDiskSpace[] = L"Insufficient disk space";
const wchar_t kHashPackage[] = L"Hash package";
const wchar_t kPinMismatch[] = L"Package differs from its pin";

// Thrown where the worker finds the stop flag raised: the attempt ends
// quietly, without an error text.
struct CStopped {};

void ThrowIfStopped(const CDownloadAttempt& attempt) {
  if (attempt.stop) throw CStopped();
}

}  // namespace

CDownloader::CDownloader(DWORD timeoutMs)
    : m_timeoutMs(timeoutMs), m_attempt(std::make_shared<CDownloadAttempt>(L"", timeoutMs)) {}

CDownloader::~CDownloader() {
  Stop();
  RemovePartialFile();
}

void CDownloader::Start(const std::wstring& url) {
  Stop();
  RemovePartialFile();
  m_attempt->CloseConnection();
  // A fresh attempt: no error, nothing received, and no file path, so that an
  // early failure cannot delete the previous attempt's finished package.
  m_attempt = std::make_shared<CDownloadAttempt>(url, m_timeoutMs);
  RunGuarded(*m_attempt, [this] { CreateWorker(); });
}

void CDownloader::Stop() {
  if (m_worker.Get() == nullptr) return;
  m_attempt->stop = true;
  // Closing the handles is WinInet's way to end a call blocked on another
  // thread. Where that does not end it, the worker is left to finish on its
  // own, with the attempt it shares, rather than hold the caller up until a
  // silent server or the time-out gives up.
  m_attempt->CloseConnection();
  if (WaitForWorker(kStopWaitMs) != WAIT_OBJECT_0) m_attempt = m_attempt->Snapshot();
  m_worker.Set(nullptr);
}

// The worker has ended or been left behind, and closes the file itself.
void CDownloader::Cancel() {
  Stop();
  m_attempt->DeleteByName();
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

// The one place where a failure, on either thread, becomes the error text.
template <typename Steps>
void CDownloader::RunGuarded(CDownloadAttempt& attempt, Steps steps) {
  try {
    steps();
  } catch (const CStopped&) {
    attempt.RemoveFile();
  } catch (const CException&) {
    attempt.errorText = DownloaderErrorText();
    attempt.RemoveFile();
  } catch (...) {
    attempt.errorText = L"Unknown error";
    attempt.RemoveFile();
  }
}

void CDownloader::CreateWorker() {
  // The worker's own share of the attempt, handed over with the thread.
  auto share = std::make_unique<std::shared_ptr<CDownloadAttempt>>(m_attempt);
  m_worker.Set(CreateThread(nullptr, 0, ThreadProc, share.get(), 0, nullptr));
  if (m_worker.Get() == nullptr) throw CException(kCreateThread);
  share.release();
}

DWORD WINAPI CDownloader::ThreadProc(LPVOID parameter) {
  const std::unique_ptr<std::shared_ptr<CDownloadAttempt>> share(
      static_cast<std::shared_ptr<CDownloadAttempt>*>(parameter));
  CDownloadAttempt& attempt = **share;
  RunGuarded(attempt, [&attempt] { RunAttempt(attempt); });
  return 0;
}

// The steps of one attempt, in the order they run, on the worker thread.
void CDownloader::RunAttempt(CDownloadAttempt& attempt) {
  if (!WinInet().IsLoaded()) throw CException(kLoadWinInet);
  ParseUrl(attempt);
  OpenConnection(attempt);
  attempt.contentLength = GetContentSize(attempt);
  CreateTargetFile(attempt);
  DownloadLoop(attempt);
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

// Each handle is published before its first use and the stop flag read after
// it, so that a stop either finds the handle to close or is seen here.
void CDownloader::OpenConnection(CDownloadAttempt& attempt) {
  const CWinInetLibrary& api = WinInet();
  attempt.root.Set(api.InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (attempt.root.Get() == nullptr) throw CException(kInternetOpen);
  SetTimeouts(attempt.root.Get(), attempt.timeoutMs);
  attempt.connection.Set(api.InternetConnectW(attempt.root.Get(), attempt.host.c_str(), kPort,
                                              nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (attempt.connection.Get() == nullptr) throw CException(kInternetConnect);
  attempt.request.Set(api.HttpOpenRequestW(attempt.connection.Get(), nullptr,
                                           attempt.objectPath.c_str(), nullptr, nullptr, nullptr,
                                           kRequestFlags, 0));
  if (attempt.request.Get() == nullptr) throw CException(kOpenRequest);
  // Some WinInet versions copy the time-outs into a request only when it is
  // made, others read them from the request alone.
  SetTimeouts(attempt.request.Get(), attempt.timeoutMs);
  ThrowIfStopped(attempt);
  const BOOL sent = api.HttpSendRequestW(attempt.request.Get(), nullptr, 0, nullptr, 0);
  ThrowIfStopped(attempt);
  if (!sent) throw CException(kSendRequest);
  attempt.lastHeard = GetTickCount();
  if (GetStatusCode(attempt) != HTTP_STATUS_OK) throw CException(kInvalidStatusCode);
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

void CDownloader::CreateTargetFile(CDownloadAttempt& attempt) {
  std::wstring path = CreateUniqueTempFile(L"Vantrel", L".msi");
  if (path.empty()) throw CException(kCreateFile);
  // Named before the stop flag is read: a stop either deletes it by name or
  // is seen here, and then the file goes with the attempt.
  attempt.SetFilePath(std::move(path));
  ThrowIfStopped(attempt);
  // Shared for deletion: a worker left behind still holds the file open when
  // a cancel deletes it.
  if (!attempt.file.Create(attempt.filePath.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL))
    throw CException(kCreateFile);
}

void CDownloader::DownloadLoop(CDownloadAttempt& attempt) {
  // A pinned body is hashed one piece behind the reads: the piece just read
  // goes to the hasher, the next read goes into the other buffer.
  const bool pinned = attempt.pin == PinStatus::kPinned;
  std::vector<char> buffers[2] = {std::vector<char>(CReadSize::kLargest),
                                  std::vector<char>(pinned ? CReadSize::kLargest : 0)};
  std::unique_ptr<CBackgroundHasher> hasher;
  if (pinned) hasher = std::make_unique<CBackgroundHasher>();
  int current = 0;
  CReadSize readSize;
  const std::int32_t length = attempt.contentLength;
  for (;;) {
    std::vector<char>& buffer = buffers[current];
    ThrowIfStopped(attempt);
    // One byte more than the rest at most: a body that runs past its length
    // shows without waiting for more of it.
    const std::int32_t received = attempt.received;
    const DWORD wanted = std::min(readSize.Get(), static_cast<DWORD>(length - received) + 1);
    DWORD read = 0;
    const DWORD started = GetTickCount();
    const BOOL readOk =
        WinInet().InternetReadFile(attempt.request.Get(), buffer.data(), wanted, &read);
    // A stop closes the request under the read: what it returned is no error.
    ThrowIfStopped(attempt);
    if (!readOk) throw CException(kDownloadFile);
    readSize.Update(read, GetTickCount() - started);
    if (read == 0) {
      if (received != length) throw CException(kDownloadFileSize);
      if (hasher) CheckPin(*hasher, attempt.pinnedDigest);
      attempt.file.Close();
      attempt.complete = true;
      return;
    }
    // Refused before writing: a server must not fill the disk past the size
    // it announced.
    if (read > static_cast<DWORD>(length - received)) throw CException(kDownloadFileSize);
    DWORD written = 0;
    if (!attempt.file.Write(buffer.data(), read, written)) throw CException(kSaveFile);
    if (written != read) throw CException(kDiskSpace);
    if (hasher) {
      if (!hasher->Hash(buffer.data(), read)) throw CException(kHashPackage);
      current ^= 1;
    }
    attempt.received = received + static_cast<std::int32_t>(written);
    attempt.lastHeard = GetTickCount();
  }
}

void CDownloader::CheckPin(CBackgroundHasher& hasher, const CSha256Digest& pinned) {
  CSha256Digest digest;
  if (!hasher.Finish(digest)) throw CException(kHashPackage);
  if (digest != pinned) throw CException(kPinMismatch);
}

// Not every WinInet ends a connect, or any wait, at its time-out (some never
// do), so the attempt ends here all the same.
void CDownloader::GiveUpOnSilence() {
  Stop();
  // The body may have ended just before the stop.
  if (m_attempt->complete) return;
  m_attempt->errorText = DownloaderErrorText();
  m_attempt->DeleteByName();
}

// A stopped attempt's file is of no use to anyone; a finished package stays.
void CDownloader::RemovePartialFile() {
  if (!m_attempt->complete) m_attempt->DeleteByName();
}
