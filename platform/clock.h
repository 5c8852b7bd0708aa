#pragma once
// The system tick count: milliseconds as an unsigned 32-bit number that wraps
// to 0 after 2^32 ms.
#include <cstdint>

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t GetTickCount() = 0;
};
