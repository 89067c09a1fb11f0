#include "Downloader.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "DownloaderErrorText.h"
#include "PathUtils.h"
#include "StringUtils.h"
#include "TempFiles.h"

namespace {

const wchar_t kAgent[] = L"setup_downloader";
const INTERNET_PORT kPort = 80;  // whatever port the URL names
const DWORD kBufferSize = 1024;

// The step texts; they never reach the user.
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

CDownloader::CDownloader() : m_contentLength(0), m_stop(false), m_received(0) {}

CDownloader::~CDownloader() { Stop(); }

void CDownloader::Start(const std::wstring& url) {
  Stop();
  m_request.Set(nullptr);
  m_connection.Set(nullptr);
  m_root.Set(nullptr);
  m_errorText.clear();
  // A failure before the new file exists must not delete the previous
  // attempt's file, which may be a finished package.
  m_filePath.clear();
  m_stop = false;
  m_received = 0;
  RunGuarded([&] { StartSteps(url); });
}

void CDownloader::Stop() {
  if (m_worker.Get() == nullptr) return;
  m_stop = true;
  WaitForWorker(INFINITE);
  m_worker.Set(nullptr);
}

void CDownloader::Cancel() {
  Stop();
  RemoveFile();
}

bool CDownloader::IsDownloading() const {
  return m_worker.Get() != nullptr && WaitForWorker(0) != WAIT_OBJECT_0;
}

double CDownloader::GetProgress() const {
  // An empty package is complete as soon as it has started.
  if (m_contentLength == 0) return 1.0;
  return static_cast<double>(m_received) / static_cast<double>(m_contentLength);
}

// The one place where a failure, on either thread, becomes the error text.
template <typename Steps>
void CDownloader::RunGuarded(Steps steps) {
  try {
    steps();
  } catch (const CException&) {
    m_errorText = DownloaderErrorText();
    RemoveFile();
  } catch (...) {
    m_errorText = L"Unknown error";
    RemoveFile();
  }
}

void CDownloader::StartSteps(const std::wstring& url) {
  ParseUrl(url);
  OpenConnection();
  m_contentLength = GetContentSize();
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
  if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &components))
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
  m_root.Set(InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (m_root.Get() == nullptr) throw CException(kInternetOpen);
  m_connection.Set(InternetConnectW(m_root.Get(), m_host.c_str(), kPort, nullptr, nullptr,
                                    INTERNET_SERVICE_HTTP, 0, 0));
  if (m_connection.Get() == nullptr) throw CException(kInternetConnect);
  m_request.Set(HttpOpenRequestW(m_connection.Get(), nullptr, m_objectPath.c_str(), nullptr,
                                 nullptr, nullptr, 0, 0));
  if (m_request.Get() == nullptr) throw CException(kOpenRequest);
  if (!HttpSendRequestW(m_request.Get(), nullptr, 0, nullptr, 0)) throw CException(kSendRequest);
  if (GetStatusCode() != HTTP_STATUS_OK) throw CException(kInvalidStatusCode);
}

bool CDownloader::QueryInfoText(DWORD infoLevel, std::wstring& text) const {
  DWORD length = 0;
  if (HttpQueryInfoW(m_request.Get(), infoLevel, nullptr, &length, nullptr)) return false;
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || length < 1) return false;
  // Lengths are in bytes; wchar_t elements keep the buffer aligned for the text.
  std::vector<wchar_t> buffer(length / sizeof(wchar_t) + 1);
  if (!HttpQueryInfoW(m_request.Get(), infoLevel, buffer.data(), &length, nullptr) || length < 1)
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
  m_filePath = CreateUniqueTempFile(L"Vantrel", L".msi");
  if (m_filePath.empty()) throw CException(kCreateFile);
  if (!m_targetFile.Create(m_filePath.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL))
    throw CException(kCreateFile);
}

void CDownloader::CreateWorker() {
  m_worker.Set(CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr));
  if (m_worker.Get() == nullptr) throw CException(kCreateThread);
}

DWORD WINAPI CDownloader::ThreadProc(LPVOID parameter) {
  CDownloader* self = static_cast<CDownloader*>(parameter);
  self->RunGuarded([self] { self->DownloadLoop(); });
  return 0;
}

void CDownloader::DownloadLoop() {
  char buffer[kBufferSize];
  for (;;) {
    if (m_stop) {
      CloseFile();
      return;
    }
    DWORD read = 0;
    if (!InternetReadFile(m_request.Get(), buffer, kBufferSize, &read))
      throw CException(kDownloadFile);
    const std::int32_t received = m_received;
    if (read == 0) {
      if (received != m_contentLength) throw CException(kDownloadFileSize);
      CloseFile();
      return;
    }
    // Refused before writing: a server must not fill the disk past the size
    // it announced.
    if (read > static_cast<DWORD>(m_contentLength - received)) throw CException(kDownloadFileSize);
    DWORD written = 0;
    if (!m_targetFile.Write(buffer, read, written)) throw CException(kSaveFile);
    if (written != read) throw CException(kDiskSpace);
    m_received = received + static_cast<std::int32_t>(written);
  }
}

void CDownloader::RemoveFile() {
  CloseFile();
  if (!m_filePath.empty() && FileExists(m_filePath)) DeleteFileW(m_filePath.c_str());
}
