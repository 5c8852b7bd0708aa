#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "platform/event_pump_qt.h"

namespace {

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Waits of `slice` ms for `total` ms, as the timed wait and the motor wait
// make them; the wall time and the CPU they took, in seconds.
std::pair<double, double> waitInSlices(int slice, int total) {
  QtEventPump pump;
  QElapsedTimer wall;
  const double cpu = cpuSeconds();
  wall.start();
  while (wall.elapsed() < total) pump.WaitForEvents(slice);
  return {wall.elapsed() / 1000.0, cpuSeconds() - cpu};
}

}  // namespace

// The close tells the application to leave its main loop, after which every
// nested loop returns at once; a wait then still sleeps and serves events.
TEST(EventPump, WaitsAfterTheMainLoopWasToldToEndSleepAndServeEvents) {
  QCoreApplication::exit(0);
  bool served = false;
  QObject scope;
  QTimer::singleShot(100, &scope, [&] { served = true; });
  const auto [wall, cpu] = waitInSlices(40, 600);
  EXPECT_TRUE(served);
  EXPECT_LT(cpu, 0.25 * wall);
}
