#pragma once
#include "platform/event_pump.h"

// The Qt event loop of the GUI thread. A wait takes its time also once the
// application has been told to leave its main loop, when nested loops return
// at once: it then serves what is pending and sleeps the rest.
class QtEventPump : public EventPump {
 public:
  void ProcessMessages() override;
  void WaitForEvents(int ms) override;
};
