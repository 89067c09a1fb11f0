#pragma once

#include <string>

// How an attempt ended, as a value: the dialog chooses from it what to say
// and whether to go on by itself. The worker publishes it once, when it ends.
enum class OutcomeKind {
  kRunning,        // not ended yet
  kComplete,       // the whole package is in its file, checked
  kStopped,        // cancelled or replaced; nothing to say
  kLostResumable,  // the connection failed or broke off; the kept part may be resumed
  kLost,           // the connection failed or broke off; nothing is kept
  // The server, the package or the system refused (an HTTP error, a bad
  // length or range, a pin, a full disk): trying again alone would meet the
  // same.
  kRefused,
};

struct CDownloadOutcome {
  OutcomeKind kind = OutcomeKind::kRunning;
  std::wstring step;    // the step that failed, for debugging; users never see it
  bool gained = false;  // the attempt wrote new bytes of the body
};

// The step of a failure nobody foresaw.
extern const wchar_t kUnexpectedStep[];
