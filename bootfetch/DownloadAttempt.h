#pragma once

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "FileHandle.h"

// What one download attempt's worker reads and writes. The downloader and
// the worker share it, so that a worker stuck in a read that closing the
// request does not end (not every WinInet ends a blocked read that way) can
// be left behind: it ends by itself when the read returns, touching nothing
// else, and the last of the two owners frees the attempt.
struct CDownloadAttempt {
  // Closes the target file and deletes it: the worker's, or the starter's
  // before a worker exists.
  void RemoveFile();
  // Deletes the file by name, leaving the handle to the worker that may
  // still hold it; the file goes when that worker closes it.
  void DeleteByName() const;
  // What the downloader keeps of an attempt whose worker it leaves behind.
  std::shared_ptr<CDownloadAttempt> Snapshot() const;

  HINTERNET request = nullptr;  // owned by the downloader
  std::int32_t contentLength = 0;
  std::wstring filePath;
  CFileHandle file;                       // the worker's while it runs
  std::atomic<bool> stop{false};          // set by the downloader, polled by the worker
  std::atomic<std::int32_t> received{0};  // written by the worker, read by the downloader
  std::wstring errorText;                 // written by the worker only just before it ends
  std::atomic<bool> complete{false};      // the whole body is in the file
};
