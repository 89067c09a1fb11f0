#include "checks/BackgroundHasher.h"

CBackgroundHasher::CBackgroundHasher() {
  m_pieceReady.Attach(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  m_idle.Attach(CreateEventW(nullptr, FALSE, TRUE, nullptr));
  if (m_pieceReady.Get() != nullptr && m_idle.Get() != nullptr)
    m_thread.Attach(CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr));
}

CBackgroundHasher::~CBackgroundHasher() {
  if (m_thread.Get() == nullptr) return;
  WaitUntilIdle();
  m_quit = true;
  SetEvent(m_pieceReady.Get());
  m_thread.Wait(INFINITE);
}

bool CBackgroundHasher::Hash(const void* data, DWORD size) {
  if (m_thread.Get() == nullptr) return m_ok = m_ok && m_sha.Update(data, size);
  WaitUntilIdle();
  const bool ok = m_ok;  // the thread's own from the next line on
  m_data = data;
  m_size = size;
  SetEvent(m_pieceReady.Get());
  return ok;
}

bool CBackgroundHasher::Finish(CSha256Digest& digest) {
  if (m_thread.Get() != nullptr) {
    WaitUntilIdle();
    // The thread stays idle until the destructor: the event is its turn.
    SetEvent(m_idle.Get());
  }
  return m_ok && m_sha.Finish(digest);
}

void CBackgroundHasher::WaitUntilIdle() { m_idle.Wait(INFINITE); }

DWORD WINAPI CBackgroundHasher::ThreadProc(LPVOID parameter) {
  CBackgroundHasher& self = *static_cast<CBackgroundHasher*>(parameter);
  for (;;) {
    self.m_pieceReady.Wait(INFINITE);
    if (self.m_quit) return 0;
    if (!self.m_sha.Update(self.m_data, self.m_size)) self.m_ok = false;
    SetEvent(self.m_idle.Get());
  }
}
