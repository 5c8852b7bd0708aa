#include "platform/panel.h"

#include <QPainter>

namespace {
// The framework's 3-D colours: the lit and the shaded edge of a bevel.
const QColor kHighlight(0xFF, 0xFF, 0xFF);
const QColor kShadow(0xA0, 0xA0, 0xA0);

// A raised bevel is lit on its top and left edges, a lowered one on its
// bottom and right edges.
void drawBevel(QPainter& p, const QRect& r, TBevelCut cut) {
  if (cut == TBevelCut::bvNone) return;
  const QColor topLeft = cut == TBevelCut::bvRaised ? kHighlight : kShadow;
  const QColor bottomRight = cut == TBevelCut::bvRaised ? kShadow : kHighlight;
  p.setPen(topLeft);
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(bottomRight);
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
}
}  // namespace

TPanel::TPanel(QWidget* parent) : QWidget(parent) {}

void TPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QRect r = rect();
  drawBevel(p, r, BevelOuter);
  if (BevelOuter != TBevelCut::bvNone) r.adjust(1, 1, -1, -1);
  drawBevel(p, r, BevelInner);
}
