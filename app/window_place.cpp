#include "app/window_place.h"

#include <algorithm>

namespace {

bool titleBarShows(const QRect& frame, int titleHeight, const QRect& screen) {
  const QRect seen = QRect(frame.topLeft(), QSize(frame.width(), titleHeight)) & screen;
  return seen.width() >= std::min(kTitleBarGrip, frame.width()) && seen.height() * 2 >= titleHeight;
}

// The squared distance between two rectangles, 0 when they meet.
qint64 gap(const QRect& a, const QRect& b) {
  const qint64 dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
  const qint64 dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
  return dx * dx + dy * dy;
}

// The start of a span of `length` moved the least to lie within the span of
// `room` from `from`, or at `from` when it is longer.
int within(int start, int length, int from, int room) { return std::max(from, std::min(start, from + room - length)); }

}  // namespace

QPoint placeShowingTitleBar(const QRect& frame, int titleHeight, const QList<QRect>& screens) {
  if (screens.isEmpty()) return frame.topLeft();
  for (const QRect& screen : screens)
    if (titleBarShows(frame, titleHeight, screen)) return frame.topLeft();
  const QRect& nearest = *std::min_element(screens.begin(), screens.end(), [&](const QRect& a, const QRect& b) {
    return gap(frame, a) < gap(frame, b);
  });
  return {within(frame.x(), frame.width(), nearest.x(), nearest.width()),
          within(frame.y(), frame.height(), nearest.y(), nearest.height())};
}
