// The gravity step's interval: the base less ten per speed level, never
// below ten milliseconds and never beyond what a timer takes.
#include <climits>

#include <gtest/gtest.h>

#include "control/gravity.h"

namespace {

struct IntervalCase {
    int base;
    int level;
    int interval;
};

class GravityInterval : public testing::TestWithParam<IntervalCase> {};

TEST_P(GravityInterval, IsBaseLessTenPerLevelAndNeverBelowTen)
{
    const IntervalCase& c = GetParam();
    EXPECT_EQ(gravityInterval(c.base, c.level), c.interval) << "base " << c.base << ", level " << c.level;
}

INSTANTIATE_TEST_SUITE_P(Table, GravityInterval,
                         testing::Values(IntervalCase{400, 3, 370}, IntervalCase{400, 1, 390},
                                         IntervalCase{400, 10, 300}, IntervalCase{1000, 1, 990},
                                         IntervalCase{110, 10, 10}, IntervalCase{109, 10, 10},
                                         IntervalCase{50, 10, 10}, IntervalCase{0, 1, 10},
                                         IntervalCase{0, 10, 10}, IntervalCase{INT_MIN, 10, 10},
                                         IntervalCase{INT_MAX, 1, INT_MAX - 10},
                                         IntervalCase{INT_MAX, -1, INT_MAX}));

}  // namespace
