#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "FileHandle.h"
#include "InternetHandle.h"
#include "ThreadHandle.h"

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
  // Stops a running worker and waits for it; the file stays.
  void Stop();
  // Stops and deletes the file, finished or not.
  void Cancel();

  bool IsDownloading() const;
  double GetProgress() const;  // 0..1
  const std::wstring& GetErrorText() const { return m_errorText; }
  const std::wstring& GetFilePath() const { return m_filePath; }
  DWORD WaitForWorker(DWORD milliseconds) const { return m_worker.Wait(milliseconds); }

 private:
  template <typename Steps>
  void RunGuarded(Steps steps);
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
  void DownloadLoop();
  void CloseFile() { m_targetFile.Close(); }
  void RemoveFile();

  // Declaration order is destruction order in reverse: the file closes before
  // the worker handle, the request before the connection before the root.
  CInternetHandle m_root;
  CInternetHandle m_connection;
  CInternetHandle m_request;
  std::wstring m_host;
  std::wstring m_objectPath;
  CThreadHandle m_worker;
  std::int32_t m_contentLength;
  CFileHandle m_targetFile;
  std::atomic<bool> m_stop;  // set by the caller's thread, polled by the worker
  std::wstring m_errorText;  // written by the worker only just before it ends
  std::wstring m_filePath;
  std::atomic<std::int32_t> m_received;  // written by the worker, read by GetProgress
};
