#pragma once
// The window's timers on virtual time. A timer ticks one period after it was
// switched on and then every period, as Qt's timers do: a late tick moves the
// next one to a whole period after it, ticks due at the same moment come in
// the order they were scheduled, and a timer never ticks inside its own tick.
// Ticks also come inside the program's waits; real time never fires the
// timers followed here.
#include <QObject>
#include <functional>
#include <initializer_list>
#include <vector>

#include "platform/controls.h"
#include "virtual_time.h"

class VirtualTimers : public QObject {
 public:
  // Set the clock's onPass before making this: it is called on, then the
  // timers that fall due.
  VirtualTimers(VirtualTime& time, std::initializer_list<TTimer*> timers);
  ~VirtualTimers() override;

  // Moves the clock on by `ms`, firing every tick that falls due on the way.
  void runFor(uint32_t ms);

  // Called after each tick that this class fires.
  std::function<void(TTimer*)> afterTick;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Entry {
    TTimer* timer;
    uint32_t due = 0;
    uint64_t order = 0;
    bool ticking = false;
  };
  void schedule(Entry& e, uint32_t due);
  Entry* nextDue(uint32_t until);
  void fireDue(uint32_t until);

  VirtualTime& time_;
  std::function<void()> previousOnPass_;
  std::vector<Entry> entries_;
  uint64_t order_ = 0;
};
