#include "download/RetrySchedule.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// One row per outcome after a given count of empty tries; the random
// numbers 0 and UINT_MAX bound the jitter, a quarter either way.
TEST(RetrySchedule, GoesOnWhileTriesBringBytesAndAsksAfterThreeEmptyOnes) {
  const RetryAction kNone = RetryAction::kNone, kResume = RetryAction::kResume,
                    kAsk = RetryAction::kAsk;
  const int kFresh = CRetrySchedule::kNoAutomaticTries;
  const struct {
    const char* name;
    OutcomeKind kind;
    bool gained;
    int emptyTries;
    RetryAction action;
    DWORD lowestMs, highestMs;
    int nextCount;
  } rows[] = {
      {"complete", OutcomeKind::kComplete, true, 0, kNone, 0, 0, 0},
      {"stopped", OutcomeKind::kStopped, false, 1, kNone, 0, 0, 1},
      {"break-off with new bytes", OutcomeKind::kLostResumable, true, kFresh, kResume, 750, 1250,
       0},
      {"a try that brought bytes starts afresh", OutcomeKind::kLostResumable, true, 2, kResume, 750,
       1250, 0},
      {"first empty try", OutcomeKind::kLostResumable, false, 0, kResume, 1500, 2500, 1},
      {"second empty try", OutcomeKind::kLostResumable, false, 1, kResume, 3000, 5000, 2},
      {"third empty try", OutcomeKind::kLostResumable, false, 2, kAsk, 0, 0, 3},
      {"a lost first try, or the user's empty try after asking", OutcomeKind::kLostResumable, false,
       kFresh, kAsk, 0, 0, kFresh + 1},
      {"lost with nothing kept", OutcomeKind::kLost, true, 0, kAsk, 0, 0, 0},
      {"refused", OutcomeKind::kRefused, true, 0, kAsk, 0, 0, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CDownloadOutcome outcome;
    outcome.kind = row.kind;
    outcome.gained = row.gained;
    const CRetryDecision low = CRetrySchedule::Next(outcome, row.emptyTries, 0);
    const CRetryDecision high = CRetrySchedule::Next(outcome, row.emptyTries, UINT_MAX);
    EXPECT_EQ(row.action, low.action);
    EXPECT_EQ(row.nextCount, low.emptyTries);
    EXPECT_EQ(row.lowestMs, low.pauseMs);
    EXPECT_EQ(row.highestMs, high.pauseMs);
  }
}

}  // namespace
