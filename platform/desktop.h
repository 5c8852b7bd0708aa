#pragma once
// The desktop: what the program reads from and draws onto the screen outside
// its own windows. Coordinates are screen pixels, origin top-left.
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <memory>

class QWidget;

// A device context over the whole desktop window.
class DesktopDC {
 public:
  virtual ~DesktopDC() = default;  // releasing the context
  // Copies the pixels shown in `r` into a new image of r's size; pixels that
  // lie beyond the screen come out black.
  virtual QImage copy(const QRect& r) = 0;
  // The rectangle `r` cut to the screen: the pixels copy() really reads.
  virtual QRect onScreen(const QRect& r) = 0;
  // Puts a block taken by copy() back at `topLeft`, taking away the frame the
  // program drew over it since.
  virtual void paste(const QImage& block, QPoint topLeft) = 0;
  // A one-pixel outline along the inner border of `r` (right and bottom
  // exclusive) in `colour`, over whatever other program's window shows
  // there, beneath the program's own windows.
  virtual void frameRect(const QRect& r, QColor colour) = 0;
};

class Desktop {
 public:
  virtual ~Desktop() = default;
  // The desktop window's device context; the context is released when the
  // returned object is destroyed.
  virtual std::unique_ptr<DesktopDC> GetWindowDC() = 0;
  // Has the whole screen redrawn, which takes away every frame drawn on it.
  virtual void repaint() = 0;
  virtual QPoint GetCursorPos() = 0;
  // Whether the left mouse button is down at this moment, over any window.
  virtual bool leftButtonDown() = 0;
  // The outer rectangle (frame and title bar included) of `window`, one of
  // the program's own, where the screen shows it at this moment: while the
  // window manager moves or resizes a window, the toolkit learns of it late.
  virtual QRect frameOnScreen(const QWidget* window) = 0;
  // Makes `window` the foreground window.
  virtual void bringToFront(QWidget* window) = 0;
};

// The desktop canvas: a red brush and pen over a device context of the desktop.
class DesktopCanvas {
 public:
  explicit DesktopCanvas(std::unique_ptr<DesktopDC> handle) : handle_(std::move(handle)) {}
  DesktopDC& Handle() { return *handle_; }
  QColor BrushColor = Qt::red;
  QColor PenColor = Qt::red;
  void FrameRect(const QRect& r) { handle_->frameRect(r, BrushColor); }

 private:
  std::unique_ptr<DesktopDC> handle_;
};
