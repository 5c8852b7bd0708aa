#include <gtest/gtest.h>

#include <cstdint>

#include "focuser/motion_plan.h"

TEST(MovePlan, ATargetIsCutIntoLargestMovesAndWhatRemains) {
  struct Case {
    int from, to, largest;
    qint64 fullMoves;
    int chunk, last;
  };
  for (const Case& c : {Case{500, 3700, 1000, 3, 1000, 200}, Case{3700, 500, 1000, 3, -1000, -200},
                        Case{0, 2000, 1000, 2, 1000, 0}, Case{0, 1000, 1000, 0, 0, 1000},
                        Case{1000, 0, 1000, 0, 0, -1000}, Case{1234, 1234, 1000, 0, 0, 0},
                        // a largest move below 1 cuts nothing
                        Case{500, 3700, 0, 0, 0, 3200}, Case{3700, 500, -5, 0, 0, -3200},
                        // the whole 32-bit range overflows nothing
                        Case{INT32_MIN, INT32_MAX, 1000, 4294967, 1000, 295},
                        Case{INT32_MAX, INT32_MIN, 0, 0, 0, INT32_MIN}}) {
    SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to << " by " << c.largest);
    const MovePlan plan = planTarget(c.from, c.to, c.largest);
    EXPECT_EQ(plan.fullMoves, c.fullMoves);
    EXPECT_EQ(plan.chunk, c.chunk);
    EXPECT_EQ(plan.last, c.last);
  }
  EXPECT_EQ(addSteps(100, -150), -50);
  EXPECT_EQ(addSteps(INT32_MAX - 1, 10), INT32_MAX);
}
