#pragma once
// The timed wait: serves the window's events until the time is up or a stop is
// requested, optionally counting down in LabelChrono.
#include <QString>
#include <cstdint>

// Waits `msecs` milliseconds while the window stays alive; shows the remaining
// time in LabelChrono when `IsVisible`. Ends after one pass of events while
// Halt is set, and at once when the program is closing.
void Delay(uint32_t msecs, bool IsVisible);

// The countdown text for `remaining` ms of a wait of `msecs` ms. The divisors
// 999, 99 and 9 and the leading "0" decided on the whole duration are the
// program's long-standing display, kept as users know it.
QString chronoCaption(uint32_t msecs, uint32_t remaining);
