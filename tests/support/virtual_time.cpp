#include "virtual_time.h"

#include <QCoreApplication>

void VirtualTime::ProcessMessages() {
  ++passes;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  runDue();
  if (onPass) onPass();
}

void VirtualTime::WaitForEvents(int ms) {
  advance(static_cast<uint32_t>(std::max(ms, 0)));
  ProcessMessages();
}

void VirtualTime::advance(uint32_t ms) { now_ += ms; }

void VirtualTime::at(uint32_t when, std::function<void()> action) {
  scheduled_.emplace_back(when, std::move(action));
}

void VirtualTime::runDue() {
  for (size_t i = 0; i < scheduled_.size();) {
    if (static_cast<int32_t>(now_ - scheduled_[i].first) >= 0) {
      auto action = std::move(scheduled_[i].second);
      scheduled_.erase(scheduled_.begin() + i);
      action();
    } else {
      ++i;
    }
  }
}
