#include "platform/event_pump_qt.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void QtEventPump::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventPump::WaitForEvents(int ms) {
  // A nested loop quit by a precise timer blocks in the event dispatcher,
  // unlike processEvents in a loop, which keeps a core busy.
  QEventLoop loop;
  QTimer::singleShot(std::max(ms, 0), Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}
