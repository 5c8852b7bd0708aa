// The CPU cost of a timed wait with the real event loop and clock.
//   bench_delay [ms] [visible]     defaults: 3000 1
// Prints the wait's own user and system CPU time; run it under /usr/bin/time -v
// for the whole process, and with 0 ms for the cost of starting up alone.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <sys/resource.h>

#include "app_fixture.h"
#include "measure/delay.h"
#include "platform/clock_system.h"
#include "platform/event_pump_qt.h"

namespace {
double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const uint32_t ms = argc > 1 ? uint32_t(atoi(argv[1])) : 3000;
  const bool visible = argc > 2 ? atoi(argv[2]) != 0 : true;

  TestPlatform p;
  SystemClock clock;
  QtEventPump pump;
  PlatformServices services{p.desktop, clock, p.dialogs, p.com, p.registry, *p.version, p.services->programFolder};
  TApplication application(pump, p.dialogs);
  Application = &application;
  TForm1 form(services);
  Form1 = &form;
  form.FormCreate();
  form.show();
  app.processEvents();

  QElapsedTimer wall;
  wall.start();
  const double cpu0 = cpuSeconds();
  Delay(ms, visible);
  const double cpu = cpuSeconds() - cpu0;
  std::printf("Delay(%u, %s): wall %lld ms, CPU %.1f ms\n", ms, visible ? "true" : "false",
              static_cast<long long>(wall.elapsed()), cpu * 1000);
  Application = p.application.get();
  return 0;
}
