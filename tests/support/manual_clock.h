#pragma once
#include "platform/clock.h"

// A clock that moves only when told to.
class ManualClock : public Clock {
 public:
  explicit ManualClock(uint32_t start = 0) : now_(start) {}
  uint32_t GetTickCount() override { return now_; }
  void advance(uint32_t ms) { now_ += ms; }
  void set(uint32_t ms) { now_ = ms; }

 private:
  uint32_t now_;
};
