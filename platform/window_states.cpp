#include "platform/window_states.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

constexpr Qt::WindowStates kLosingStates = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

class NormalStateKeeper : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::WindowStateChange) return false;
    auto* window = qobject_cast<QWidget*>(watched);
    if (!window || !window->isWindow() || !(window->windowState() & kLosingStates)) return false;
    // Once the state change has been delivered: a state set from inside its
    // own notice is not sent to the window manager.
    QTimer::singleShot(0, window, [window = QPointer<QWidget>(window)] {
      if (!window || !window->isVisible()) return;
      window->setWindowState(window->windowState() & ~kLosingStates);
      window->show();
    });
    return false;
  }
};

}  // namespace

void keepWindowsNormal(QApplication& app) { app.installEventFilter(new NormalStateKeeper(&app)); }
