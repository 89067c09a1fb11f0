#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "DownloadAttempt.h"
#include "InternetHandle.h"
#include "WaitableHandle.h"
#include "WinInetLibrary.h"

// Fetches one package by a plain HTTP GET into a new file in the temporary
// folder. Start sets up the request on the caller's thread and leaves the body
// to a worker thread; the outcome is read through the queries. An empty error
// text after the worker has ended means success.
class CDownloader {
 public:
  // A failed step. The text names the step for debugging; users only ever see
  // the one catalogue message.
  class CException {
   public:
    explicit CException(const wchar_t* step) : m_step(step) {}
    const std::wstring& GetStep() const { return m_step; }

   private:
    std::wstring m_step;
  };

  CDownloader();
  ~CDownloader();
  CDownloader(const CDownloader&) = delete;
  CDownloader& operator=(const CDownloader&) = delete;

  // Never throws; a failure ends as the error text.
  void Start(const std::wstring& url);
  // Stops a running worker, even one blocked in a read, and waits for it
  // briefly; the file stays.
  void Stop();
  // Stops and deletes the file, finished or not.
  void Cancel();

  bool IsDownloading() const;
  double GetProgress() const;  // 0..1
  const std::wstring& GetErrorText() const { return m_attempt->errorText; }
  const std::wstring& GetFilePath() const { return m_attempt->filePath; }
  DWORD WaitForWorker(DWORD milliseconds) const { return m_worker.Wait(milliseconds); }

 private:
  template <typename Steps>
  static void RunGuarded(CDownloadAttempt& attempt, Steps steps);
  void StartSteps(const std::wstring& url);
  void ParseUrl(const std::wstring& url);
  void OpenConnection();
  bool QueryInfoText(DWORD infoLevel, std::wstring& text) const;
  bool QueryInfoNumber(DWORD infoLevel, std::int32_t& number) const;
  std::int32_t GetStatusCode() const;
  std::int32_t GetContentSize() const;
  void CreateTargetFile();
  void CreateWorker();
  static DWORD WINAPI ThreadProc(LPVOID parameter);
  static void DownloadLoop(CDownloadAttempt& attempt);
  void RemovePartialFile();

  const CWinInetLibrary& m_api;
  // Declaration order is destruction order in reverse: the worker handle
  // closes before the request, the request before the connection before the
  // root.
  CInternetHandle m_root;
  CInternetHandle m_connection;
  CInternetHandle m_request;
  std::wstring m_host;
  std::wstring m_objectPath;
  CWaitableHandle m_worker;
  std::shared_ptr<CDownloadAttempt> m_attempt;  // never null
};
