#pragma once
#include "platform/event_pump.h"

// The Qt event loop of the GUI thread.
class QtEventPump : public EventPump {
 public:
  void ProcessMessages() override;
  void WaitForEvents(int ms) override;
};
