#include "memory_desktop.h"

#include <QPainter>
#include <QWidget>

namespace {

class MemoryDC : public DesktopDC {
 public:
  explicit MemoryDC(MemoryDesktop& desk) : desk_(desk) { ++desk_.openContexts; }
  ~MemoryDC() override { --desk_.openContexts; }

  QImage copy(const QRect& r) override {
    if (desk_.beforeCopy) desk_.beforeCopy();
    QImage out(r.size().expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    p.drawImage(QPoint(0, 0), desk_.screen, r);
    return out;
  }
  QRect onScreen(const QRect& r) override { return r & desk_.screen.rect(); }
  void paste(const QImage& block, QPoint topLeft) override {
    QPainter p(&desk_.screen);
    p.drawImage(topLeft, block);
  }
  void frameRect(const QRect& r, QColor colour) override {
    if (r.width() <= 0 || r.height() <= 0) return;
    const QRgb c = colour.rgb();
    auto put = [&](int x, int y) {
      if (desk_.screen.rect().contains(x, y)) desk_.screen.setPixel(x, y, c);
    };
    const int right = r.x() + r.width() - 1, bottom = r.y() + r.height() - 1;
    for (int x = r.x(); x <= right; ++x) {
      put(x, r.y());
      put(x, bottom);
    }
    for (int y = r.y(); y <= bottom; ++y) {
      put(r.x(), y);
      put(right, y);
    }
  }

 private:
  MemoryDesktop& desk_;
};

}  // namespace

MemoryDesktop::MemoryDesktop(QSize size, QColor fill)
    : background(size, QImage::Format_RGB32), screen(size, QImage::Format_RGB32) {
  background.fill(fill);
  screen.fill(fill);
}

void MemoryDesktop::showImage(const QImage& image, QPoint topLeft) {
  for (QImage* target : {&background, &screen}) {
    QPainter p(target);
    p.drawImage(topLeft, image);
  }
}

std::unique_ptr<DesktopDC> MemoryDesktop::GetWindowDC() { return std::make_unique<MemoryDC>(*this); }

QRect MemoryDesktop::frameOnScreen(const QWidget* window) {
  const auto shown = framesShown.find(window);
  return shown != framesShown.end() ? shown->second : window->frameGeometry();
}

void MemoryDesktop::repaint() {
  screen = background.copy();
  ++repaints;
}
