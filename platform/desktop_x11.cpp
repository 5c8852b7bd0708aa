#include <QWidget>

#include "platform/desktop.h"

// Xlib's headers come after Qt's: their macros clash with Qt names.
#include <X11/Xlib.h>

namespace {

class X11DC : public DesktopDC {
 public:
  QImage copy(const QRect& r) override {
    QImage out(r.size(), QImage::Format_RGB32);
    out.fill(Qt::black);
    return out;
  }
  void paste(const QImage&, QPoint) override {}
  void frameRect(const QRect&, QColor) override {}
};

class X11Desktop : public Desktop {
 public:
  X11Desktop() : display_(XOpenDisplay(nullptr)) {}
  ~X11Desktop() override {
    if (display_) XCloseDisplay(display_);
  }
  std::unique_ptr<DesktopDC> GetWindowDC() override { return std::make_unique<X11DC>(); }
  void repaint() override {}
  QPoint GetCursorPos() override {
    if (!display_) return {};
    Window root, child;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rx, &ry, &wx, &wy, &mask);
    return QPoint(rx, ry);
  }
  bool leftButtonDown() override {
    if (!display_) return false;
    Window root, child;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rx, &ry, &wx, &wy, &mask);
    return mask & Button1Mask;
  }
  void bringToFront(QWidget* window) override {
    if (!window) return;
    window->raise();
    window->activateWindow();
  }

 private:
  Display* display_;
};

}  // namespace

std::unique_ptr<Desktop> makeX11Desktop() { return std::make_unique<X11Desktop>(); }
