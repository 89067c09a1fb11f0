#include "DownloadAttempt.h"

#include "PathUtils.h"

void CDownloadAttempt::RemoveFile() {
  file.Close();
  DeleteByName();
}

void CDownloadAttempt::DeleteByName() const {
  if (!filePath.empty() && FileExists(filePath)) DeleteFileW(filePath.c_str());
}

std::shared_ptr<CDownloadAttempt> CDownloadAttempt::Snapshot() const {
  auto copy = std::make_shared<CDownloadAttempt>();
  copy->contentLength = contentLength;
  copy->filePath = filePath;
  copy->received = received.load();
  return copy;
}
