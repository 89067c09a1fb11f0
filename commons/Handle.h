#pragma once

#include <windows.h>

#include <atomic>
#include <utility>

// The verbs every handle holder shares: non-copyable, the destructor closes,
// Attach closes what was held before, Detach lets go without closing. Traits
// names the handle type, its empty value, its close, and optionally the slot
// it is kept in (a std::atomic when two threads may close it).
template <class Traits>
class CHandleBase {
 public:
  typedef typename Traits::Handle Handle;

  CHandleBase() = default;
  ~CHandleBase() { Close(); }
  CHandleBase(const CHandleBase&) = delete;
  CHandleBase& operator=(const CHandleBase&) = delete;

  // True when nothing was held or the handle closed; empty either way.
  bool Close() {
    const Handle handle = Detach();
    return handle == Traits::Empty() || Traits::Close(handle);
  }
  void Attach(Handle handle) {
    Close();
    m_handle = handle;
  }
  // Whoever detaches first holds the handle, so it closes once.
  Handle Detach() { return Take(m_handle); }
  Handle Get() const { return m_handle; }
  bool IsCreated() const { return m_handle != Traits::Empty(); }

 protected:
  template <class Slot>
  static Handle Take(Slot& slot) {
    return std::exchange(slot, Traits::Empty());
  }
  static Handle Take(std::atomic<Handle>& slot) { return slot.exchange(Traits::Empty()); }

  typename Traits::Slot m_handle{Traits::Empty()};
};

// A kernel object's handle, which CloseHandle closes. Empty is what the call
// that makes it reports on failure: INVALID_HANDLE_VALUE for files, else null.
template <LONG_PTR kEmpty>
struct CKernelHandleTraits {
  typedef HANDLE Handle;
  typedef HANDLE Slot;
  static HANDLE Empty() { return reinterpret_cast<HANDLE>(kEmpty); }
  static bool Close(HANDLE handle) { return CloseHandle(handle) != FALSE; }
};
