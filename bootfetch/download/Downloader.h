#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "WaitableHandle.h"
#include "download/DownloadAttempt.h"

class CPackageChecks;

// Fetches one package by a plain HTTP GET into a new file in the temporary
// folder. Start hands the whole attempt, from the URL check to the body's
// last byte, to a worker thread and returns at once; the outcome is read
// through the queries once the worker has ended. A retry after a body broke
// off asks only for the rest, where the server proves it still serves the
// same file.
class CDownloader {
 public:
  // How long connecting, sending, and a wait in which no byte arrives, may
  // take before the attempt fails: a silent server ends in the retry
  // question, not a hang.
  static const DWORD kTimeoutMs = 60000;

  // A failed step. The text names the step for debugging; users only ever see
  // the one catalogue message.
  class CException {
   public:
    explicit CException(const wchar_t* step) : m_step(step) {}
    const std::wstring& GetStep() const { return m_step; }

   private:
    std::wstring m_step;
  };

  // Tests pass a shorter time-out; the program keeps the default.
  explicit CDownloader(DWORD timeoutMs = kTimeoutMs);
  ~CDownloader();
  CDownloader(const CDownloader&) = delete;
  CDownloader& operator=(const CDownloader&) = delete;

  // Never throws and never waits on the network; a failure ends as the
  // outcome.
  void Start(const std::wstring& url);
  // Stops a running worker, even one blocked on the network, and waits for it
  // briefly: the worker closes its own handles. A stopped attempt leaves no
  // file.
  void Stop();
  // Stops and deletes the file, finished or not.
  void Cancel();
  // Lets go of a finished package once the shell has been asked to open it:
  // the file stays, and others may open it from now on.
  void ReleasePackage();

  // Also gives up on a server that has been silent for longer than the
  // time-out, where WinInet's own time-outs do not end the wait: the attempt
  // then fails like any other.
  bool IsDownloading();
  double GetProgress() const;  // 0..1
  // The server has answered and the body may come.
  bool IsAnswered() const { return m_attempt->answered; }
  std::int32_t GetReceived() const { return m_attempt->received; }
  // The whole body's length; -1 until the headers are in.
  std::int32_t GetContentLength() const { return m_attempt->contentLength; }
  // Running until IsDownloading has returned false.
  const CDownloadOutcome& GetOutcome() const { return m_attempt->outcome; }
  const std::wstring& GetFilePath() const { return m_attempt->package.Path(); }
  DWORD WaitForWorker(DWORD milliseconds) const { return m_worker.Wait(milliseconds); }

 private:
  template <typename Steps>
  static void RunGuarded(CDownloadAttempt& attempt, Steps steps);
  void CreateWorker();
  static DWORD WINAPI ThreadProc(LPVOID parameter);
  static OutcomeKind RunAttempt(CDownloadAttempt& attempt);
  static void ParseUrl(CDownloadAttempt& attempt);
  static void OpenConnection(CDownloadAttempt& attempt);
  static void SetTimeouts(HINTERNET handle, DWORD timeoutMs);
  static std::int32_t GetStatusCode(const CDownloadAttempt& attempt);
  static std::int32_t GetContentSize(const CDownloadAttempt& attempt);
  static void AcceptFirstAnswer(CDownloadAttempt& attempt);
  static void AcceptResumedAnswer(CDownloadAttempt& attempt);
  static void CreateTargetFile(CDownloadAttempt& attempt);
  static void DownloadLoop(CDownloadAttempt& attempt);
  static DWORD Read(CDownloadAttempt& attempt, char* buffer, DWORD size);
  static bool MoreIsComing(CDownloadAttempt& attempt);
  static void FinishPackage(CDownloadAttempt& attempt, CPackageChecks& checks);
  void CloseFile();
  void GiveUpOnSilence();

  const DWORD m_timeoutMs;
  CWaitableHandle m_worker;
  std::shared_ptr<CDownloadAttempt> m_attempt;  // never null
};
