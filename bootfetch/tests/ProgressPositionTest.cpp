#include "ui/ProgressPosition.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ProgressPosition, RoundsHalfUpAndStaysInRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  const struct {
    double fraction;
    int position;
  } cases[] = {
      {0.0, 0},   {0.004, 0}, {0.006, 1}, {0.5, 50}, {0.994, 99},     {0.996, 100},
      {1.0, 100}, {1.5, 100}, {-0.2, 0},  {nan, 0},  {infinity, 100}, {-infinity, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.position, ProgressPosition(c.fraction)) << c.fraction;
}

}  // namespace
