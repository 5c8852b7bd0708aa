#include "platform/event_pump_qt.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

void QtEventPump::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventPump::WaitForEvents(int ms) {
  const QDeadlineTimer end(std::max(ms, 0), Qt::PreciseTimer);
  // A nested loop quit by a precise timer blocks in the event dispatcher,
  // unlike processEvents in a loop, which keeps a core busy. The timer lives
  // here: a single shot bound to the loop would leave a deletion posted each
  // time the loop returns before it fires.
  QEventLoop loop;
  QTimer quit;
  quit.setSingleShot(true);
  quit.setTimerType(Qt::PreciseTimer);
  QObject::connect(&quit, &QTimer::timeout, &loop, &QEventLoop::quit);
  quit.start(std::max(ms, 0));
  loop.exec();
  if (end.hasExpired()) return;
  // Once QCoreApplication::exit has been called, every nested loop returns at
  // once: the events are served in one pass and the rest of the time is slept,
  // so that a wait which calls this again and again does not spin.
  ProcessMessages();
  QThread::msleep(static_cast<unsigned long>(std::max<qint64>(end.remainingTime(), 0)));
}
