#pragma once

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "FileHandle.h"
#include "InternetHandle.h"
#include "PackagePin.h"

// One download attempt, which its worker thread runs from the URL check to
// the body's last byte. The downloader and the worker share it, so that a
// worker stuck in a call that closing its handles does not end (not every
// WinInet ends a blocked call that way) can be left behind: it ends by
// itself when the call returns, touching nothing else, and the last of the
// two owners frees the attempt.
struct CDownloadAttempt {
  CDownloadAttempt(std::wstring url, DWORD timeoutMs) : url(std::move(url)), timeoutMs(timeoutMs) {}

  // Closes the request, the connection and the root, in that order; from
  // another thread this ends a call blocked in one of them.
  void CloseConnection();
  // Closes the target file and deletes it: the worker's.
  void RemoveFile();
  // Deletes the file by name, once it has one, leaving the handle to the
  // worker that may still hold it; the file goes when that worker closes it.
  void DeleteByName() const;
  // Names the target file, which exists from now on.
  void SetFilePath(std::wstring path);
  // What the downloader keeps of an attempt whose worker it leaves behind.
  std::shared_ptr<CDownloadAttempt> Snapshot() const;

  const std::wstring url;
  const DWORD timeoutMs;             // for connecting, sending and every wait for data
  std::wstring host;                 // the worker's
  std::wstring objectPath;           // the worker's
  PinStatus pin = PinStatus::kNone;  // the worker's
  CSha256Digest pinnedDigest{};      // the worker's
  CInternetHandle root;
  CInternetHandle connection;
  CInternetHandle request;
  std::atomic<std::int32_t> contentLength{-1};  // -1 until the headers are in
  std::wstring filePath;                        // set once, before fileNamed
  std::atomic<bool> fileNamed{false};
  CFileHandle file;                       // the worker's
  std::atomic<bool> stop{false};          // set by the downloader, polled by the worker
  std::atomic<std::int32_t> received{0};  // written by the worker, read by the downloader
  std::wstring errorText;                 // written by the worker only just before it ends
  std::atomic<bool> complete{false};      // the whole body is in the file
  // When the server was last heard from (the attempt's start, the headers,
  // the last body bytes), as a tick count.
  std::atomic<DWORD> lastHeard{GetTickCount()};
};
