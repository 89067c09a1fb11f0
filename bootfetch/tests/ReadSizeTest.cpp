#include "ReadSize.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct CRead {
  DWORD bytes;  // 0: as many as asked for
  DWORD ms;
};

DWORD SizeAfter(const std::vector<CRead>& reads) {
  CReadSize size;
  for (const CRead& read : reads) size.Update(read.bytes ? read.bytes : size.Get(), read.ms);
  return size.Get();
}

TEST(ReadSize, GrowsOnQuickFullReadsAndShrinksOnSlowOnes) {
  const std::vector<CRead> fastLink(20, CRead{0, 1});
  const std::vector<CRead> slowLink(20, CRead{0, 400});
  const struct {
    const char* name;
    std::vector<CRead> reads;
    DWORD size;
  } cases[] = {
      {"first read", {}, 1024},
      {"quick full read", {{0, 0}}, 2048},
      {"quick partial read, the body's end", {{100, 0}}, 1024},
      {"neither quick nor slow", {{0, 1}, {0, 70}}, 2048},
      {"slow read", {{0, 1}, {0, 1}, {0, 101}}, 2048},
      {"fast link stops at the largest", fastLink, 1024 * 1024},
      {"slow link stops at the smallest", slowLink, 1024},
      {"a stall after growing", {{0, 1}, {0, 1}, {0, 1}, {10, 5000}}, 4096},
  };
  for (const auto& c : cases) EXPECT_EQ(c.size, SizeAfter(c.reads)) << c.name;
}

}  // namespace
