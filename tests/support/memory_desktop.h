#pragma once
// A desktop held in an image, for tests: copies, pastes and frames act on its
// pixels exactly; the repaint puts back the background image.
#include <QPoint>
#include <functional>
#include <map>
#include <vector>

#include "platform/desktop.h"

class MemoryDesktop : public Desktop {
 public:
  explicit MemoryDesktop(QSize size = QSize(1024, 768), QColor fill = Qt::black);

  // What the windows on the desktop show; repaint() restores the screen to it.
  QImage background;
  // What is on the screen now.
  QImage screen;
  QPoint cursor;
  bool leftButton = false;
  int repaints = 0;
  int openContexts = 0;
  std::vector<QWidget*> broughtToFront;
  // Where the window manager shows a window of the program while it moves or
  // resizes it, ahead of what the toolkit knows; a window not listed is shown
  // where the toolkit has it.
  std::map<const QWidget*, QRect> framesShown;
  // Runs before each copy of the screen, so a test can change what the
  // program is about to capture.
  std::function<void()> beforeCopy;

  // Draws on both the background and the screen, as a program window would.
  void showImage(const QImage& image, QPoint topLeft);

  std::unique_ptr<DesktopDC> GetWindowDC() override;
  void repaint() override;
  QPoint GetCursorPos() override { return cursor; }
  bool leftButtonDown() override { return leftButton; }
  QRect frameOnScreen(const QWidget* window) override;
  void bringToFront(QWidget* window) override { broughtToFront.push_back(window); }
};
