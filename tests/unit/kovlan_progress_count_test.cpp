// The stand-in host's progress counts stop at the end of the int32 range
// instead of overflowing: a long-lived host (a fuzzing run against one host,
// one step per character read) takes more than 2^31 steps. Every count goes
// through ProgressIndicator::CountUp, tested here at the boundary.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>

#include "host/kovlan/Progress.h"

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(KovlanProgressCount, CountUpStopsAtTheEndOfTheInt32Range) {
  const std::pair<int32_t, int32_t> cases[] = {
      {0, 1}, {41, 42}, {kMax - 2, kMax - 1}, {kMax - 1, kMax}, {kMax, kMax},
  };
  for (const auto& [before, after] : cases) {
    int32_t counter = before;
    kovlan::ProgressIndicator::CountUp(counter);
    EXPECT_EQ(counter, after) << before;
  }
}

TEST(KovlanProgressCount, StepsPastTheEndStayThere) {
  int32_t counter = kMax - 3;
  for (int i = 0; i < 10; ++i) kovlan::ProgressIndicator::CountUp(counter);
  EXPECT_EQ(counter, kMax);
}

}  // namespace
