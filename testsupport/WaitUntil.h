#pragma once

#include <windows.h>

// Polls the condition until it holds or the time has run out; whether it
// holds in the end.
template <typename Condition>
bool WaitUntil(Condition holds, DWORD milliseconds) {
  const DWORD kPollMs = 20;
  const DWORD start = GetTickCount();
  while (!holds()) {
    if (GetTickCount() - start >= milliseconds) return holds();
    Sleep(kPollMs);
  }
  return true;
}
