#include "Downloader.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "DownloaderErrorText.h"
#include "ReadSize.h"
#include "StringUtils.h"
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

// The step texts; they never reach the user.
const wchar_t kLoadWinInet[] = L"Load WinInet";
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

}  // namespace

CDownloader::CDownloader()
    : m_api(WinInet()),
      m_root(m_api),
      m_connection(m_api),
      m_request(m_api),
      m_attempt(std::make_shared<CDownloadAttempt>()) {}

CDownloader::~CDownloader() {
  Stop();
  RemovePartialFile();
}

void CDownloader::Start(const std::wstring& url) {
  Stop();
  RemovePartialFile();
  m_request.Set(nullptr);
  m_connection.Set(nullptr);
  m_root.Set(nullptr);
  // A fresh attempt: no error, nothing received, and no file path, so that an
  // early failure cannot delete the previous attempt's finished package.
  m_attempt = std::make_shared<CDownloadAttempt>();
  RunGuarded(*m_attempt, [&] { StartSteps(url); });
}

void CDownloader::Stop() {
  if (m_worker.Get() == nullptr) return;
  m_attempt->stop = true;
  // Closing the request is WinInet's way to end a read blocked on another
  // thread. Where that does not end it, the worker is left to finish on its
  // own, with the attempt it shares, rather than hold the caller up until a
  // stalled server or WinInet's own time-out gives up.
  m_api.InternetCloseHandle(m_request.Get());
  if (WaitForWorker(kStopWaitMs) != WAIT_OBJECT_0) m_attempt = m_attempt->Snapshot();
  m_request.Release();
  m_worker.Set(nullptr);
}

// The worker has ended or been left behind, and closes the file itself.
void CDownloader::Cancel() {
  Stop();
  m_attempt->DeleteByName();
}

bool CDownloader::IsDownloading() const {
  return m_worker.Get() != nullptr && WaitForWorker(0) != WAIT_OBJECT_0;
}

double CDownloader::GetProgress() const {
  // An empty package is complete as soon as it has started.
  if (m_attempt->contentLength == 0) return 1.0;
  return static_cast<double>(m_attempt->received) / static_cast<double>(m_attempt->contentLength);
}

// The one place where a failure, on either thread, becomes the error text.
template <typename Steps>
void CDownloader::RunGuarded(CDownloadAttempt& attempt, Steps steps) {
  try {
    steps();
  } catch (const CException&) {
    attempt.errorText = DownloaderErrorText();
    attempt.RemoveFile();
  } catch (...) {
    attempt.errorText = L"Unknown error";
    attempt.RemoveFile();
  }
}

void CDownloader::StartSteps(const std::wstring& url) {
  if (!m_api.IsLoaded()) throw CException(kLoadWinInet);
  ParseUrl(url);
  OpenConnection();
  m_attempt->contentLength = GetContentSize();
  CreateTargetFile();
  CreateWorker();
}

void CDownloader::ParseUrl(const std::wstring& url) {
  URL_COMPONENTSW components;
  static_assert(sizeof(components) == 60, "32-bit URL_COMPONENTSW");
  ZeroMemory(&components, sizeof(components));
  components.dwStructSize = sizeof(components);
  // A length of 1 asks for pointers into the URL instead of copies.
  components.dwHostNameLength = 1;
  components.dwUrlPathLength = 1;
  if (!m_api.InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &components))
    throw CException(kParseUrl);
  if (components.nScheme != INTERNET_SCHEME_HTTP) throw CException(kNotHttpUrl);
  if (components.dwHostNameLength == 0 || components.lpszHostName == nullptr)
    throw CException(kEmptyHost);
  m_host.assign(components.lpszHostName, components.dwHostNameLength);
  if (components.lpszUrlPath != nullptr)
    m_objectPath.assign(components.lpszUrlPath, components.dwUrlPathLength);
  else
    m_objectPath.clear();
}

void CDownloader::OpenConnection() {
  m_root.Set(m_api.InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (m_root.Get() == nullptr) throw CException(kInternetOpen);
  m_connection.Set(m_api.InternetConnectW(m_root.Get(), m_host.c_str(), kPort, nullptr, nullptr,
                                          INTERNET_SERVICE_HTTP, 0, 0));
  if (m_connection.Get() == nullptr) throw CException(kInternetConnect);
  m_request.Set(m_api.HttpOpenRequestW(m_connection.Get(), nullptr, m_objectPath.c_str(), nullptr,
                                       nullptr, nullptr, kRequestFlags, 0));
  if (m_request.Get() == nullptr) throw CException(kOpenRequest);
  if (!m_api.HttpSendRequestW(m_request.Get(), nullptr, 0, nullptr, 0))
    throw CException(kSendRequest);
  if (GetStatusCode() != HTTP_STATUS_OK) throw CException(kInvalidStatusCode);
}

bool CDownloader::QueryInfoText(DWORD infoLevel, std::wstring& text) const {
  DWORD length = 0;
  if (m_api.HttpQueryInfoW(m_request.Get(), infoLevel, nullptr, &length, nullptr)) return false;
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || length < 1) return false;
  // Lengths are in bytes; wchar_t elements keep the buffer aligned for the text.
  std::vector<wchar_t> buffer(length / sizeof(wchar_t) + 1);
  if (!m_api.HttpQueryInfoW(m_request.Get(), infoLevel, buffer.data(), &length, nullptr) ||
      length < 1)
    return false;
  text.assign(buffer.data(), length / sizeof(wchar_t));
  return true;
}

bool CDownloader::QueryInfoNumber(DWORD infoLevel, std::int32_t& number) const {
  std::wstring text;
  if (!QueryInfoText(infoLevel, text)) return false;
  // Text that is not a number as a whole ("abc", "12 MB") is no number at all,
  // not 0 or 12.
  bool hasRest = false;
  number = StringToInt(text, &hasRest);
  return !hasRest;
}

std::int32_t CDownloader::GetStatusCode() const {
  std::int32_t status = 0;
  if (!QueryInfoNumber(HTTP_QUERY_STATUS_CODE, status)) throw CException(kGetStatusCode);
  return status;
}

std::int32_t CDownloader::GetContentSize() const {
  std::int32_t size = 0;
  if (!QueryInfoNumber(HTTP_QUERY_CONTENT_LENGTH, size)) throw CException(kGetContentSize);
  // Sizes are 32-bit: StringToInt clamps every length of 2 GiB - 1 or more to
  // the maximum, so that value cannot be trusted either.
  if (size < 0 || size == std::numeric_limits<std::int32_t>::max())
    throw CException(kInvalidContentSize);
  return size;
}

void CDownloader::CreateTargetFile() {
  CDownloadAttempt& attempt = *m_attempt;
  attempt.filePath = CreateUniqueTempFile(L"Vantrel", L".msi");
  if (attempt.filePath.empty()) throw CException(kCreateFile);
  // Shared for deletion: a worker left behind still holds the file open when
  // a cancel deletes it.
  if (!attempt.file.Create(attempt.filePath.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL))
    throw CException(kCreateFile);
}

void CDownloader::CreateWorker() {
  m_attempt->request = m_request.Get();
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
  RunGuarded(attempt, [&attempt] { DownloadLoop(attempt); });
  return 0;
}

void CDownloader::DownloadLoop(CDownloadAttempt& attempt) {
  std::vector<char> buffer(CReadSize::kLargest);
  CReadSize readSize;
  for (;;) {
    if (attempt.stop) {
      attempt.file.Close();
      return;
    }
    // One byte more than the rest at most: a body that runs past its length
    // shows without waiting for more of it.
    const std::int32_t received = attempt.received;
    const DWORD wanted =
        std::min(readSize.Get(), static_cast<DWORD>(attempt.contentLength - received) + 1);
    DWORD read = 0;
    const DWORD started = GetTickCount();
    const BOOL readOk = WinInet().InternetReadFile(attempt.request, buffer.data(), wanted, &read);
    // A stop closes the request under the read: what it returned is no error.
    if (attempt.stop) continue;
    if (!readOk) throw CException(kDownloadFile);
    readSize.Update(read, GetTickCount() - started);
    if (read == 0) {
      if (received != attempt.contentLength) throw CException(kDownloadFileSize);
      attempt.file.Close();
      attempt.complete = true;
      return;
    }
    // Refused before writing: a server must not fill the disk past the size
    // it announced.
    if (read > static_cast<DWORD>(attempt.contentLength - received))
      throw CException(kDownloadFileSize);
    DWORD written = 0;
    if (!attempt.file.Write(buffer.data(), read, written)) throw CException(kSaveFile);
    if (written != read) throw CException(kDiskSpace);
    attempt.received = received + static_cast<std::int32_t>(written);
  }
}

// A stopped attempt's file is of no use to anyone; a finished package stays.
void CDownloader::RemovePartialFile() {
  if (!m_attempt->complete) m_attempt->DeleteByName();
}
