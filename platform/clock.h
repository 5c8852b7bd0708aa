#pragma once
// The system tick count: milliseconds as an unsigned 32-bit number that wraps
// to 0 after 2^32 ms.
#include <cstdint>

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t GetTickCount() = 0;
};

// Milliseconds of the monotonic system clock, cut to 32 bits.
class SystemClock : public Clock {
 public:
  uint32_t GetTickCount() override;
};

// A clock that moves only when told to, for tests.
class ManualClock : public Clock {
 public:
  explicit ManualClock(uint32_t start = 0) : now_(start) {}
  uint32_t GetTickCount() override { return now_; }
  void advance(uint32_t ms) { now_ += ms; }
  void set(uint32_t ms) { now_ = ms; }

 private:
  uint32_t now_;
};
