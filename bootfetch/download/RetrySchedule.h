#pragma once

#include <windows.h>

#include "download/DownloadOutcome.h"

// What follows an attempt that has ended.
enum class RetryAction {
  kNone,    // complete or stopped: nothing to try again
  kResume,  // go on from the kept part by itself, after the pause
  kAsk,     // show the error box
};

struct CRetryDecision {
  RetryAction action = RetryAction::kNone;
  DWORD pauseMs = 0;   // before the automatic try
  int emptyTries = 0;  // the count to pass with the next outcome
};

// When a download goes on by itself: after a body broke off with new bytes
// and a part that may be resumed, after a pause of about 1 s, then 2 s and
// 4 s while the tries bring nothing. The third empty try in a row, a part
// that cannot be resumed and every refusal ask the user. The jitter, up to
// a quarter either way, keeps the many clients of one lost server from
// coming back in step.
class CRetrySchedule {
 public:
  static const int kEmptyTriesAllowed = 3;
  static const DWORD kFirstPauseMs = 1000;
  // The count before any new bytes: nothing goes on by itself yet.
  static const int kNoAutomaticTries = kEmptyTriesAllowed;

  // Pure: the outcome, the empty tries in a row before it and a random
  // number (any value) decide.
  static CRetryDecision Next(const CDownloadOutcome& outcome, int emptyTries, unsigned random);

  // Keeps the count between attempts; the user's Retry keeps it too, so a
  // try of the user's that brings nothing asks again.
  CRetryDecision After(const CDownloadOutcome& outcome, unsigned random);

 private:
  int m_emptyTries = kNoAutomaticTries;
};
