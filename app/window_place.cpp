#include "app/window_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "app/Unit1.h"
#include "platform/dialogs.h"

namespace {

// A span from `start`, `length` long, right end excluded: wide enough for a
// stored corner near the largest integer plus the frame's size.
struct Span {
  qint64 start, end;
};

Span across(const QRect& r) { return {r.x(), qint64(r.x()) + r.width()}; }
Span down(const QRect& r) { return {r.y(), qint64(r.y()) + r.height()}; }

qint64 overlap(Span a, Span b) { return std::max<qint64>(0, std::min(a.end, b.end) - std::max(a.start, b.start)); }

// How far apart two spans lie, 0 when they meet.
double apart(Span a, Span b) { return double(std::max<qint64>({0, b.start - a.end, a.start - b.end})); }

// The start of `span` moved the least to lie within `room`, or at the start
// of `room` when it is longer.
int within(Span span, Span room) {
  return int(std::max(room.start, std::min(span.start, room.end - (span.end - span.start))));
}

// The top-left corner that puts a window of outer size `frame` in the middle
// of `screen`.
QPoint screenCentredPlace(const QRect& screen, QSize frame) {
  return screen.topLeft() + QPoint((screen.width() - frame.width()) / 2, (screen.height() - frame.height()) / 2);
}

}  // namespace

QPoint placeOnScreen(QPoint corner, QSize frame, const QList<QRect>& screens) {
  if (screens.isEmpty()) return corner;
  const Span x{corner.x(), qint64(corner.x()) + frame.width()};
  const Span y{corner.y(), qint64(corner.y()) + frame.height()};
  auto shown = [&](const QRect& s) { return overlap(x, across(s)) * overlap(y, down(s)); };
  auto distance = [&](const QRect& s) {
    const double dx = apart(x, across(s)), dy = apart(y, down(s));
    return dx * dx + dy * dy;
  };
  const QRect& screen = *std::min_element(screens.begin(), screens.end(), [&](const QRect& a, const QRect& b) {
    const qint64 shownA = shown(a), shownB = shown(b);
    return shownA != shownB ? shownA > shownB : distance(a) < distance(b);
  });
  return {within(x, across(screen)), within(y, down(screen))};
}

void centreOnOpenerScreen(QWidget& window) {
  const QWidget* opener = openerWindow(Form1);
  QSize frame = window.frameGeometry().size();
  // Before its first opening the window manager has not yet framed the
  // window: the opener's frame is the best guess of the one it will get.
  if (frame == window.size() && opener && opener->isVisible())
    frame += opener->frameGeometry().size() - opener->size();
  const QScreen* screen = opener ? opener->screen() : QGuiApplication::primaryScreen();
  if (screen) window.move(screenCentredPlace(screen->geometry(), frame));
}
