#pragma once

#include <windows.h>

#include "WaitableHandle.h"
#include "checks/PackagePin.h"
#include "checks/Sha256.h"

// Hashes a body piece by piece on a thread of its own, while the caller
// reads the next piece, so that checking a pin costs no more time than the
// hashing itself. Where no thread can be started it hashes in place.
class CBackgroundHasher {
 public:
  CBackgroundHasher();
  // Waits for the piece in hand, then ends the thread.
  ~CBackgroundHasher();
  CBackgroundHasher(const CBackgroundHasher&) = delete;
  CBackgroundHasher& operator=(const CBackgroundHasher&) = delete;

  // Hands a piece over, after waiting for the one before. The caller leaves
  // the piece's bytes alone until the next Hash or Finish has returned.
  bool Hash(const void* data, DWORD size);
  // The digest of every piece, once the last one is hashed.
  bool Finish(CSha256Digest& digest);

 private:
  static DWORD WINAPI ThreadProc(LPVOID parameter);
  void WaitUntilIdle();

  CSha256 m_sha;
  CWaitableHandle m_pieceReady;  // auto-reset: a piece waits for the thread
  CWaitableHandle m_idle;        // auto-reset: the thread waits for a piece
  CWaitableHandle m_thread;
  const void* m_data = nullptr;  // handed over through the two events
  DWORD m_size = 0;
  bool m_quit = false;
  bool m_ok = true;
};
