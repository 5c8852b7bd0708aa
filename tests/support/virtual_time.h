#pragma once
// Time that passes only when the program waits: the clock and the event pump
// in one. A wait of n ms serves the pending events once and moves the clock by
// n ms at once, so long operations run in no real time and always alike.
#include <functional>
#include <vector>

#include "platform/clock.h"
#include "platform/event_pump.h"

class VirtualTime : public Clock, public EventPump {
 public:
  explicit VirtualTime(uint32_t start = 1000) : now_(start) {}

  uint32_t GetTickCount() override { return now_; }
  void ProcessMessages() override;
  void WaitForEvents(int ms) override;

  void advance(uint32_t ms);
  void set(uint32_t ms) { now_ = ms; }

  // Runs `action` once the clock reaches `at` (during a later wait).
  void at(uint32_t when, std::function<void()> action);
  // Runs `action` at every event pass (after the clock moved, if it did).
  std::function<void()> onPass;
  int passes = 0;

 private:
  void runDue();
  uint32_t now_;
  std::vector<std::pair<uint32_t, std::function<void()>>> scheduled_;
};
