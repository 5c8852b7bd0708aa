#include "resources/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

constexpr int kSize = 16;

void triangle(QPainter& p, bool right, qreal x, QColor c) {
  QPolygonF t;
  if (right) t << QPointF(x, 3) << QPointF(x + 6, 8) << QPointF(x, 13);
  else t << QPointF(x + 6, 3) << QPointF(x, 8) << QPointF(x + 6, 13);
  p.setBrush(c);
  p.setPen(Qt::NoPen);
  p.drawPolygon(t);
}

void bar(QPainter& p, qreal x, QColor c) { p.fillRect(QRectF(x, 3, 2, 10), c); }

void draw(QPainter& p, GlyphKind kind) {
  const QColor blue(0, 0, 160), green(0, 128, 0), red(200, 0, 0), dark(40, 40, 40);
  switch (kind) {
    case GlyphKind::FastForward: triangle(p, true, 2, blue); triangle(p, true, 8, blue); break;
    case GlyphKind::FastBack: triangle(p, false, 2, blue); triangle(p, false, 8, blue); break;
    case GlyphKind::SlowForward: triangle(p, true, 5, green); break;
    case GlyphKind::SlowBack: triangle(p, false, 5, green); break;
    case GlyphKind::LowerLimit: bar(p, 2, dark); triangle(p, false, 5, blue); break;
    case GlyphKind::UpperLimit: triangle(p, true, 5, blue); bar(p, 12, dark); break;
    case GlyphKind::Recall:
      p.setPen(QPen(green, 2));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(8, 8), 5, 5);
      p.drawLine(QPointF(8, 1), QPointF(8, 15));
      p.drawLine(QPointF(1, 8), QPointF(15, 8));
      break;
    case GlyphKind::Stop: p.fillRect(QRectF(3, 3, 10, 10), red); break;
    case GlyphKind::Connect:
      p.setPen(QPen(dark, 2));
      p.drawLine(QPointF(2, 8), QPointF(6, 8));
      p.drawLine(QPointF(10, 8), QPointF(14, 8));
      p.fillRect(QRectF(5, 5, 3, 6), dark);
      p.fillRect(QRectF(9, 4, 3, 8), blue);
      break;
    case GlyphKind::ResetPosition:
      p.setPen(QPen(dark, 1.5));
      p.setFont(QFont(QStringLiteral("Sans"), 7, QFont::Bold));
      p.drawText(QRectF(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("0"));
      break;
    case GlyphKind::Tracking: {
      p.setPen(QPen(green, 1.5));
      QPolygonF line;
      line << QPointF(1, 12) << QPointF(5, 7) << QPointF(9, 10) << QPointF(14, 3);
      p.drawPolyline(line);
      break;
    }
    case GlyphKind::StopTracking: {
      p.setPen(QPen(green, 1.5));
      QPolygonF line;
      line << QPointF(1, 12) << QPointF(5, 7) << QPointF(9, 10) << QPointF(14, 3);
      p.drawPolyline(line);
      p.setPen(QPen(red, 2));
      p.drawLine(QPointF(3, 3), QPointF(13, 13));
      break;
    }
    case GlyphKind::Autofocus:
      p.setPen(QPen(blue, 1.5));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(8, 8), 6, 6);
      p.setBrush(QColor(230, 200, 0));
      p.setPen(Qt::NoPen);
      p.drawEllipse(QPointF(8, 8), 2.5, 2.5);
      break;
    case GlyphKind::Setup:
      p.setPen(QPen(dark, 2));
      for (int y : {4, 8, 12}) p.drawLine(QPointF(2, y), QPointF(14, y));
      p.fillRect(QRectF(9, 2, 3, 4), blue);
      p.fillRect(QRectF(4, 6, 3, 4), blue);
      p.fillRect(QRectF(10, 10, 3, 4), blue);
      break;
    case GlyphKind::SaveProfile: {
      // A written sheet, and a red arrow from it down onto a diskette.
      p.setPen(QPen(dark, 1));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(0.5, 0.5, 7, 8));
      p.setPen(QPen(QColor(90, 90, 90), 1));
      for (qreal y : {2.5, 4.5, 6.5}) p.drawLine(QPointF(2, y), QPointF(6, y));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(40, 40, 120));
      p.drawRect(QRectF(4, 8, 12, 8));
      p.fillRect(QRectF(7, 8, 6, 3), QColor(200, 200, 200));
      p.fillRect(QRectF(6, 12, 8, 4), Qt::white);
      p.setPen(QPen(red, 2));
      p.drawLine(QPointF(11, 1), QPointF(11, 5));
      p.setPen(Qt::NoPen);
      p.setBrush(red);
      p.drawPolygon(QPolygonF() << QPointF(8, 4.5) << QPointF(14, 4.5) << QPointF(11, 8));
      break;
    }
    case GlyphKind::LoadProfile:
      p.setBrush(QColor(230, 200, 60));
      p.setPen(QPen(QColor(140, 110, 0), 1));
      p.drawPolygon(QPolygonF() << QPointF(1, 4) << QPointF(6, 4) << QPointF(7, 6) << QPointF(13, 6)
                                << QPointF(13, 14) << QPointF(1, 14));
      p.setBrush(QColor(250, 225, 110));
      p.drawPolygon(QPolygonF() << QPointF(3, 8) << QPointF(15, 8) << QPointF(13, 14) << QPointF(1, 14));
      break;
    case GlyphKind::About: {
      const QColor spines[] = {QColor(160, 30, 30), QColor(30, 90, 160), QColor(40, 130, 40), QColor(150, 110, 20)};
      for (int i = 0; i < 4; ++i) {
        p.fillRect(QRectF(1 + i * 3.6, 2 + (i % 2), 3, 13 - (i % 2)), spines[i]);
        p.fillRect(QRectF(1 + i * 3.6, 5, 3, 1), QColor(230, 210, 120));
      }
      break;
    }
    case GlyphKind::Learn:
      p.setPen(QPen(red, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPolyline(QPolygonF() << QPointF(2, 8) << QPointF(6, 12) << QPointF(14, 3));
      break;
    case GlyphKind::Clear:
      p.translate(8, 8);
      p.rotate(-35);
      p.fillRect(QRectF(-6, -3, 7, 6), QColor(230, 120, 150));
      p.fillRect(QRectF(1, -3, 5, 6), QColor(70, 90, 200));
      p.setPen(QPen(dark, 1));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(-6, -3, 12, 6));
      break;
  }
}

QPixmap greyed(const QImage& image) {
  QImage grey = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < grey.height(); ++y)
    for (int x = 0; x < grey.width(); ++x) {
      const QRgb c = grey.pixel(x, y);
      const int g = 128 + qGray(c) / 2;
      grey.setPixel(x, y, qRgba(g, g, g, qAlpha(c)));
    }
  return QPixmap::fromImage(grey);
}

}  // namespace

Glyph makeGlyph(GlyphKind kind) {
  QImage image(kSize, kSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, kind);
  }
  return {QPixmap::fromImage(image), greyed(image)};
}
