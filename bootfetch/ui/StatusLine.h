#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// What the download is doing, as the status line under the bar tells it.
struct CDownloadStatus {
  enum Phase { kConnecting, kDownloading, kPaused };
  Phase phase = kConnecting;
  std::wstring host;             // kConnecting
  std::int64_t done = 0;         // kDownloading: bytes in the file
  std::int64_t total = 0;        // kDownloading: the package's size
  double bytesPerSecond = -1.0;  // kDownloading: negative until measured
  bool steady = false;           // kDownloading: the speed may predict the end
  DWORD pauseLeftMs = 0;         // kPaused: until the next try
};

// The line's texts, with their placeholders: the catalogue's, or English.
struct CStatusTexts {
  std::wstring connecting;   // {HOST}
  std::wstring downloading;  // {DONE}, {TOTAL}, {SPEED}, {TIME}
  std::wstring unsteady;     // {DONE}, {TOTAL}, {SPEED}: before the time left is steady
  std::wstring measuring;    // {DONE}, {TOTAL}: before the speed is known
  std::wstring paused;       // {SECONDS}
  std::wstring seconds;      // {COUNT}, for {TIME}
  std::wstring minutes;      // {COUNT}, for {TIME}
  std::wstring hours;        // {COUNT}, for {TIME}
};

CStatusTexts LoadStatusTexts();

// A size as the user's Windows writes it ("1.50 MB").
typedef std::wstring (*SizeFormatter)(std::int64_t bytes);
std::wstring FormatByteSize(std::int64_t bytes);

// The line, a pure function of the status: the speed and the time left
// appear only once measured, the time left in whole seconds, minutes or
// hours, rounded up.
std::wstring StatusLineText(const CDownloadStatus& status, const CStatusTexts& texts,
                            SizeFormatter formatSize);

// The host of an http URL, or the URL itself where it has none.
std::wstring HostOfUrl(const std::wstring& url);
