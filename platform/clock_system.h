#pragma once
#include "platform/clock.h"

// Milliseconds of the monotonic system clock, cut to 32 bits.
class SystemClock : public Clock {
 public:
  uint32_t GetTickCount() override;
};
