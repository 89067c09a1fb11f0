#pragma once

#include <atomic>

#include "Handle.h"
#include "download/WinInetLibrary.h"

struct CInternetHandleTraits {
  typedef HINTERNET Handle;
  typedef std::atomic<HINTERNET> Slot;
  static HINTERNET Empty() { return nullptr; }
  // Only a loaded WinInet hands out handles.
  static bool Close(HINTERNET handle) { return WinInet().InternetCloseHandle(handle) != FALSE; }
};

// Owns one WinInet handle that two threads may close: the worker that made
// it, when its attempt ends, and the downloader, to end a call that does not
// return. Whoever takes the handle first closes it, so it closes once.
class CInternetHandle : public CHandleBase<CInternetHandleTraits> {};
