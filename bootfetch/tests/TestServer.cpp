#include "TestServer.h"

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <sstream>
#include <stdexcept>

namespace {

struct CloseInternetHandle {
  void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
typedef std::unique_ptr<void, CloseInternetHandle> InternetHandle;

// A control request of the tests themselves, past any cache.
std::string Fetch(const std::wstring& path) {
  const InternetHandle root(
      InternetOpenW(L"test_control", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  const InternetHandle url(InternetOpenUrlW(root.get(), (kServer + path).c_str(), nullptr, 0,
                                            INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE,
                                            0));
  if (!url) throw std::runtime_error("test server not reachable");
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (InternetReadFile(url.get(), buffer, sizeof buffer, &read) && read > 0)
    text.append(buffer, read);
  return text;
}

}  // namespace

std::vector<CRequestRecord> TakeRequestLog() {
  std::vector<CRequestRecord> records;
  std::istringstream lines(Fetch(L"/_log"));
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    CRequestRecord record;
    std::getline(fields, record.port, '\t');
    std::getline(fields, record.method, '\t');
    std::getline(fields, record.path, '\t');
    std::getline(fields, record.agent, '\t');
    std::getline(fields, record.range, '\t');
    std::getline(fields, record.ifRange, '\t');
    std::getline(fields, record.sent, '\t');
    std::getline(fields, record.cacheControl, '\t');
    std::getline(fields, record.pragma);
    records.push_back(record);
  }
  return records;
}

void ReleaseStall() { Fetch(L"/_release"); }

int StalledBodies() { return std::stoi(Fetch(L"/_stalled")); }

int AbandonedAnswers() { return std::stoi(Fetch(L"/_abandoned")); }

std::string PatternBody(std::size_t size) {
  std::string body(size, '\0');
  for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<char>(i % 251);
  return body;
}
