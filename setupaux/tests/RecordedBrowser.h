#pragma once

#include <string>
#include <vector>

#include "TempDir.h"

// Registers launch_recorder.exe as the http protocol handler of the test prefix
// for its lifetime, then puts the previous handler back.
class CRecordedBrowser {
 public:
  CRecordedBrowser();
  ~CRecordedBrowser();
  CRecordedBrowser(const CRecordedBrowser&) = delete;
  CRecordedBrowser& operator=(const CRecordedBrowser&) = delete;

  // Every address launched so far, in order, once all launched recorders
  // have finished writing.
  std::vector<std::wstring> Opened() const;

 private:
  CTempDir m_records;
};
