#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>

// The speed of the body over the last few seconds, from the byte counts the
// dialog's timer samples. A new connection starts it afresh: the time it
// took says nothing of the link's speed.
class CTransferRate {
 public:
  // Over what time the speed is taken, and how much of it must be measured
  // before it may predict the end.
  static const DWORD kWindowMs = 5000;
  static const DWORD kSteadyMs = 3000;

  void Add(DWORD tick, std::int64_t bytes);
  void Reset() { m_samples.clear(); }
  // Negative until two samples lie at least a second apart.
  double BytesPerSecond() const;
  bool IsSteady() const;

 private:
  struct CSample {
    DWORD tick;
    std::int64_t bytes;
  };
  DWORD Span() const;

  std::deque<CSample> m_samples;
};
