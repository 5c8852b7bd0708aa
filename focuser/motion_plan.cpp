#include "focuser/motion_plan.h"

#include <algorithm>
#include <cstdint>

namespace {
int clampToInt(qint64 v) { return static_cast<int>(std::clamp<qint64>(v, INT32_MIN, INT32_MAX)); }
}  // namespace

MovePlan planTarget(int position, int target, int maxIncrement) {
  const qint64 distance = qint64(position) - target;
  const qint64 remaining = distance < 0 ? -distance : distance;
  const int direction = distance < 0 ? +1 : -1;
  MovePlan plan;
  if (maxIncrement >= 1 && remaining > maxIncrement) {
    plan.fullMoves = remaining / maxIncrement;
    plan.chunk = direction * maxIncrement;
    plan.last = direction * static_cast<int>(remaining % maxIncrement);
  } else {
    // Two 32-bit positions can lie 2^32 - 1 apart; a single move says at most
    // what a 32-bit count can.
    plan.last = clampToInt(direction * remaining);
  }
  return plan;
}

int addSteps(int position, qint64 steps) { return clampToInt(qint64(position) + steps); }

int stepProduct(std::initializer_list<int> factors) {
  qint64 product = 1;
  // Held within the range at each factor, the product never leaves 64 bits.
  for (const int f : factors) product = clampToInt(product * f);
  return static_cast<int>(product);
}
