#include "download/RetrySchedule.h"

namespace {

// The random bits the jitter uses: enough for a millisecond's step.
const DWORD kRandomMask = 0xFFFF;

}  // namespace

CRetryDecision CRetrySchedule::Next(const CDownloadOutcome& outcome, int emptyTries,
                                    unsigned random) {
  CRetryDecision decision;
  decision.emptyTries = emptyTries;
  switch (outcome.kind) {
    case OutcomeKind::kRunning:
    case OutcomeKind::kComplete:
    case OutcomeKind::kStopped:
      return decision;
    case OutcomeKind::kLostResumable:
      break;
    default:
      decision.action = RetryAction::kAsk;
      return decision;
  }
  decision.emptyTries = outcome.gained ? 0 : emptyTries + 1;
  if (decision.emptyTries >= kEmptyTriesAllowed) {
    decision.action = RetryAction::kAsk;
    return decision;
  }
  decision.action = RetryAction::kResume;
  const DWORD pause = kFirstPauseMs << decision.emptyTries;
  const DWORD quarter = pause / 4;
  decision.pauseMs = pause - quarter + (random & kRandomMask) * (2 * quarter) / kRandomMask;
  return decision;
}

CRetryDecision CRetrySchedule::After(const CDownloadOutcome& outcome, unsigned random) {
  const CRetryDecision decision = Next(outcome, m_emptyTries, random);
  m_emptyTries = decision.emptyTries;
  return decision;
}
