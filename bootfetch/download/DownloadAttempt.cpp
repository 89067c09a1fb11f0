#include "download/DownloadAttempt.h"

CDownloadAttempt::~CDownloadAttempt() {
  if (abandoned) package.Discard();
}

void CDownloadAttempt::CloseConnection() {
  request.Close();
  connection.Close();
  root.Close();
}

void CDownloadAttempt::ResumeFrom(CDownloadAttempt& failed) {
  package.TakeFrom(failed.package);
  validator = failed.validator;
  contentLength = failed.contentLength.load();
  received = failed.received.load();
  failed.keepsPart = false;
}

void CDownloadAttempt::EndFailed(bool partIsSound) {
  keepsPart = partIsSound && !validator.empty() && received > 0 && package.IsOpen();
  if (!keepsPart) package.Discard();
}

void CDownloadAttempt::RestartUnmarked() {
  CloseConnection();
  package.Discard();
  unmarked = true;
  validator.clear();
  received = 0;
  contentLength = -1;
}

std::shared_ptr<CDownloadAttempt> CDownloadAttempt::Snapshot() const {
  auto copy = std::make_shared<CDownloadAttempt>(url, timeoutMs);
  copy->contentLength = contentLength.load();
  copy->received = received.load();
  copy->outcome.kind = gaveUp ? OutcomeKind::kLost : OutcomeKind::kStopped;
  copy->outcome.step = L"Worker left behind";
  return copy;
}
