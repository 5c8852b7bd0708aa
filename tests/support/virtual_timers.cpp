#include "virtual_timers.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>

namespace {
// Whether `a` comes before `b` on a clock that may wrap.
bool before(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) < 0; }
}  // namespace

VirtualTimers::VirtualTimers(VirtualTime& time, std::initializer_list<TTimer*> timers) : time_(time) {
  entries_.reserve(timers.size());  // the handlers below hold indexes into it
  for (TTimer* t : timers) entries_.push_back(Entry{t});
  for (size_t i = 0; i < entries_.size(); ++i) {
    Entry& e = entries_[i];
    if (e.timer->Enabled()) schedule(e, time_.GetTickCount() + e.timer->Interval());
    connect(e.timer, &TTimer::PeriodStarted, this, [this, i] {
      schedule(entries_[i], time_.GetTickCount() + entries_[i].timer->Interval());
    });
  }
  previousOnPass_ = time_.onPass;
  time_.onPass = [this] {
    if (previousOnPass_) previousOnPass_();
    fireDue(time_.GetTickCount());
  };
  QCoreApplication::instance()->installEventFilter(this);
}

VirtualTimers::~VirtualTimers() {
  QCoreApplication::instance()->removeEventFilter(this);
  time_.onPass = previousOnPass_;
}

void VirtualTimers::runFor(uint32_t ms) {
  const uint32_t until = time_.GetTickCount() + ms;
  fireDue(until);
  if (before(time_.GetTickCount(), until)) time_.set(until);
}

bool VirtualTimers::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Timer || !qobject_cast<QTimer*>(watched)) return false;
  return std::any_of(entries_.begin(), entries_.end(),
                     [watched](const Entry& e) { return watched->parent() == e.timer; });
}

void VirtualTimers::schedule(Entry& e, uint32_t due) {
  e.due = due;
  e.order = ++order_;
}

VirtualTimers::Entry* VirtualTimers::nextDue(uint32_t until) {
  Entry* next = nullptr;
  for (Entry& e : entries_) {
    if (e.ticking || !e.timer->Enabled() || before(until, e.due)) continue;
    if (!next || before(e.due, next->due) || (e.due == next->due && e.order < next->order)) next = &e;
  }
  return next;
}

void VirtualTimers::fireDue(uint32_t until) {
  while (Entry* e = nextDue(until)) {
    if (before(time_.GetTickCount(), e->due)) time_.set(e->due);
    const uint32_t now = time_.GetTickCount();
    const uint32_t period = static_cast<uint32_t>(std::max(e->timer->Interval(), 1));
    // The next tick is planned as this one starts; a handler that switches
    // the timer off and on again plans it anew from there.
    uint32_t next = e->due + period;
    if (!before(now, next)) next = now + period;
    schedule(*e, next);
    e->ticking = true;
    emit e->timer->OnTimer();
    e->ticking = false;
    if (afterTick) afterTick(e->timer);
  }
}
