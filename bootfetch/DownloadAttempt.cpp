#include "DownloadAttempt.h"

#include "PathUtils.h"

void CDownloadAttempt::CloseConnection() {
  request.Close();
  connection.Close();
  root.Close();
}

void CDownloadAttempt::RemoveFile() {
  file.Close();
  DeleteByName();
}

void CDownloadAttempt::DeleteByName() const {
  if (fileNamed && FileExists(filePath)) DeleteFileW(filePath.c_str());
}

void CDownloadAttempt::SetFilePath(std::wstring path) {
  filePath = std::move(path);
  fileNamed = true;
}

std::shared_ptr<CDownloadAttempt> CDownloadAttempt::Snapshot() const {
  auto copy = std::make_shared<CDownloadAttempt>(url, timeoutMs);
  copy->contentLength = contentLength.load();
  if (fileNamed) copy->SetFilePath(filePath);
  copy->received = received.load();
  return copy;
}
