#include "CenteredPosition.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char* name;
  RECT window;
  RECT reference;
  RECT workArea;
  POINT expected;
};

const RECT kScreen = {0, 0, 1024, 768};

const Case kCases[] = {
    {"centred on the work area", {0, 0, 200, 100}, kScreen, kScreen, {412, 334}},
    {"centred on an owner", {0, 0, 200, 100}, {100, 100, 500, 400}, kScreen, {200, 200}},
    {"owner near the right and bottom edges",
     {0, 0, 200, 100},
     {900, 700, 1100, 800},
     kScreen,
     {824, 668}},
    {"owner near the left and top edges", {0, 0, 200, 100}, {-150, -80, 50, 20}, kScreen, {0, 0}},
    {"window larger than the work area keeps its corner visible",
     {0, 0, 1200, 900},
     kScreen,
     kScreen,
     {0, 0}},
    {"work area below a taskbar at the top",
     {0, 0, 200, 100},
     {0, -10, 200, 10},
     {0, 40, 1024, 768},
     {0, 40}},
    {"monitor left of the primary one",
     {0, 0, 201, 101},
     {-1024, 0, 0, 768},
     {-1024, 0, 0, 768},
     {-612, 334}},
    {"negative centre truncates toward zero",
     {0, 0, 2, 2},
     {-3, -3, 0, 0},
     {-10, -10, 0, 0},
     {-2, -2}},
};

TEST(CenteredPosition, Table) {
  for (const Case& c : kCases) {
    const POINT pos = atlite::CenteredPosition(c.window, c.reference, c.workArea);
    EXPECT_EQ(c.expected.x, pos.x) << c.name;
    EXPECT_EQ(c.expected.y, pos.y) << c.name;
  }
}

}  // namespace
