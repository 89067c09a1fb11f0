#pragma once

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "download/DownloadOutcome.h"
#include "download/InternetHandle.h"
#include "download/PackageFile.h"
#include "download/RequestContext.h"
#include "checks/PackagePin.h"

// One download attempt, which its worker thread runs from the URL check to
// the body's last byte. The downloader and the worker share it, so that a
// worker stuck in a call that closing its handles does not end (not every
// WinInet ends a blocked call that way) can be left behind: it ends by
// itself when the call returns, touching nothing else, and the last of the
// two owners frees the attempt.
struct CDownloadAttempt {
  CDownloadAttempt(std::wstring url, DWORD timeoutMs) : url(std::move(url)), timeoutMs(timeoutMs) {}
  // An attempt left behind never leaves its file, even one completed late.
  ~CDownloadAttempt();

  // Closes the request, the connection and the root, in that order: the
  // worker's last step. From another thread, only to end a call that does
  // not return, since a close under a running call is undefined.
  void CloseConnection();
  // Takes over what a failed attempt kept, to ask only for the rest.
  void ResumeFrom(CDownloadAttempt& failed);
  // Ends a failed attempt, the worker's: a sound part of a resumable body
  // stays for the next attempt, anything else is deleted.
  void EndFailed(bool partIsSound);
  // Drops the file and the connection after a refused write through a
  // deletion mark, for a start from nothing with an unmarked file.
  void RestartUnmarked();
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
  std::shared_ptr<CRequestContext> context;     // the request's, with WinInet
  DWORD_PTR contextValue = 0;                   // WinInet's share of it
  std::atomic<std::int32_t> contentLength{-1};  // of the whole body; -1 until known
  CPackageFile package;                         // the worker's while it runs
  bool unmarked = false;  // the worker's: the file system refused writes through marked files
  // What proves a later answer is the same file (a strong ETag or the
  // Last-Modified date), from the answer that began the file; empty when
  // that answer offered no ranges.
  std::wstring validator;
  std::atomic<bool> stop{false};          // set by the downloader, polled by the worker
  std::atomic<bool> gaveUp{false};        // stopped as a failure (silence), not a cancel
  std::atomic<bool> abandoned{false};     // its worker was left behind
  std::atomic<std::int32_t> received{0};  // written by the worker, read by the downloader
  bool gained = false;                    // the worker's: new body bytes were written
  std::atomic<bool> answered{false};      // the answer was accepted; the body comes
  // Written once, by the worker just before it ends (by the downloader when
  // there is no worker).
  CDownloadOutcome outcome;
  std::atomic<bool> complete{false};   // the whole body is in the file
  std::atomic<bool> keepsPart{false};  // failed with a part the next attempt resumes
  // When the server was last heard from (the attempt's start, the headers,
  // the last body bytes), as a tick count.
  std::atomic<DWORD> lastHeard{GetTickCount()};
};
