#include <gtest/gtest.h>

#include <cstdint>

#include "focuser/motion_plan.h"

namespace {
void expectPlan(const MovePlan& plan, qint64 fullMoves, int chunk, int last) {
  EXPECT_EQ(plan.fullMoves, fullMoves);
  if (fullMoves > 0) EXPECT_EQ(plan.chunk, chunk);
  EXPECT_EQ(plan.last, last);
}
}  // namespace

TEST(MovePlan, ATargetAboveIsReachedByFullMovesThenTheRest) {
  expectPlan(planTarget(500, 3700, 1000), 3, +1000, +200);
}

TEST(MovePlan, ATargetBelowMovesDownwardsThroughout) {
  expectPlan(planTarget(3700, 500, 1000), 3, -1000, -200);
}

TEST(MovePlan, ExactlyTwoLargestMovesAwayEndsWithAMoveOfNothing) {
  expectPlan(planTarget(0, 2000, 1000), 2, +1000, 0);
}

TEST(MovePlan, ExactlyOneLargestMoveAwayIsOneMove) {
  expectPlan(planTarget(0, 1000, 1000), 0, 0, +1000);
  expectPlan(planTarget(1000, 0, 1000), 0, 0, -1000);
}

TEST(MovePlan, TheCurrentPositionIsOneMoveOfNothing) { expectPlan(planTarget(1234, 1234, 1000), 0, 0, 0); }

TEST(MovePlan, ALargestMoveBelowOneSendsTheTargetAsOneMove) {
  expectPlan(planTarget(500, 3700, 0), 0, 0, 3200);
  expectPlan(planTarget(3700, 500, -5), 0, 0, -3200);
}

TEST(MovePlan, TheWholeIntegerRangeNeitherOverflowsNorExceedsOneMove) {
  expectPlan(planTarget(INT32_MIN, INT32_MAX, 1000), 4294967, +1000, +295);
  expectPlan(planTarget(INT32_MAX, INT32_MIN, 0), 0, 0, INT32_MIN);
}

TEST(MovePlan, AddingStepsStaysWithinTheIntegerRange) {
  EXPECT_EQ(addSteps(100, -150), -50);
  EXPECT_EQ(addSteps(INT32_MAX - 1, 10), INT32_MAX);
  EXPECT_EQ(addSteps(INT32_MIN + 1, -10), INT32_MIN);
}
