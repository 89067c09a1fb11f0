#pragma once

// Position of the progress bar (range 0-100) for a downloaded fraction: the
// percentage rounded half up. A fraction that is not a number shows 0, and
// the result never leaves the bar's range.
inline int ProgressPosition(double fraction) {
  const double position = fraction * 100.0 + 0.5;
  if (!(position >= 0.0)) return 0;
  if (position >= 100.0) return 100;
  return static_cast<int>(position);
}
