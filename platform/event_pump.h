#pragma once
// Serving the window's pending events from inside a long operation.
class EventPump {
 public:
  virtual ~EventPump() = default;
  // Serves what is pending now and returns (the framework's ProcessMessages).
  virtual void ProcessMessages() = 0;
  // Serves events as they come for up to `ms` milliseconds, sleeping while
  // none comes: a wait built on it costs no CPU between events.
  virtual void WaitForEvents(int ms) = 0;
};
