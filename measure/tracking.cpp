#include "measure/tracking.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "app/Unit1.h"
#include "measure/axis_labels.h"
#include "measure/fwhm.h"
#include "platform/application.h"

namespace {

// The chart is 61 pixels high: four labels of 8 pixels fit on its left axis
// with room between them.
constexpr int kGraduationsMax = 4;

// The left axis's labels: Arial, 8 pixels high, silver, two pixels left of
// the plot area. Each keeps its graduation under this key.
constexpr int kCleGraduation = 0;
constexpr double kEcartEtiquette = 2;

// What the history chart's axes show for its points: the bottom one spans
// their indexes, the left one their values.
struct AxesHistorique {
  double xMin = 0.0;
  double xMax = 1.0;
  EchelleAxe y;
};

AxesHistorique axesHistorique(const QList<QPointF>& points) {
  AxesHistorique a;
  if (points.isEmpty()) {
    a.y = echelleAxe(0.0, 1.0, kGraduationsMax);
    return a;
  }
  a.xMax = std::max(points.last().x(), 1.0);
  const auto [bas, haut] =
      std::minmax_element(points.begin(), points.end(), [](QPointF p, QPointF q) { return p.y() < q.y(); });
  a.y = echelleAxe(bas->y(), haut->y(), kGraduationsMax);
  return a;
}

QFont policeEtiquettes() {
  QFont police(QStringLiteral("Arial"));
  police.setPixelSize(8);
  return police;
}

QList<QGraphicsSimpleTextItem*> etiquettes(QChart* chart) {
  QList<QGraphicsSimpleTextItem*> out;
  for (QGraphicsItem* item : chart->childItems()) {
    auto* texte = qgraphicsitem_cast<QGraphicsSimpleTextItem*>(item);
    if (texte && texte->data(kCleGraduation).isValid()) out << texte;
  }
  return out;
}

QValueAxis* axe(QChart* chart, Qt::Orientation sens) {
  const auto axes = chart->axes(sens);
  return axes.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(axes.first());
}

// Qt Charts writes axis values only through printf formats, so the left
// axis's labels are text items of the chart, written by etiquetteAxe.
void afficheAxes(QChartView* vue, const QList<QPointF>& points) {
  QChart* chart = vue->chart();
  const AxesHistorique axes = axesHistorique(points);
  if (QValueAxis* x = axe(chart, Qt::Horizontal)) x->setRange(axes.xMin, axes.xMax);
  if (QValueAxis* y = axe(chart, Qt::Vertical)) {
    y->setRange(axes.y.min, axes.y.max);
    y->setTickAnchor(axes.y.min);
    y->setTickInterval(axes.y.pas);
  }
  qDeleteAll(etiquettes(chart));
  qreal largeur = 0;
  for (double g : axes.y.graduations) {
    auto* texte = new QGraphicsSimpleTextItem(etiquetteAxe(g), chart);
    texte->setFont(policeEtiquettes());
    texte->setBrush(toQColor(clSilver));
    texte->setData(kCleGraduation, g);
    largeur = std::max(largeur, texte->boundingRect().width());
  }
  chart->setMargins(QMargins(static_cast<int>(std::ceil(largeur + kEcartEtiquette)), 0, 0, 0));
  placeEtiquettesHistorique(vue);
}

}  // namespace

void placeEtiquettesHistorique(QChartView* vue) {
  QChart* chart = vue->chart();
  const QValueAxis* y = axe(chart, Qt::Vertical);
  if (!y || y->max() <= y->min()) return;
  const QRectF zone = chart->plotArea();
  for (QGraphicsSimpleTextItem* texte : etiquettes(chart)) {
    const QRectF r = texte->boundingRect();
    const double g = texte->data(kCleGraduation).toDouble();
    const double milieu = zone.bottom() - (g - y->min()) / (y->max() - y->min()) * zone.height();
    // The labels at the ends would reach past the chart's edges: they stay within.
    const double plusBas = std::max(chart->size().height() - r.height(), 0.0);
    const double haut = std::clamp(milieu - r.height() / 2, 0.0, plusBas);
    texte->setPos(zone.left() - kEcartEtiquette - r.width(), haut);
  }
}

TColor couleurClignotement(TColor actuelle) {
  return actuelle == clInactiveCaptionText ? clMoneyGreen : clInactiveCaptionText;
}

void TForm1::BoutonCaptureClick() {
  ++trackingRun_;
  Series4->clear();
  afficheAxes(Chart2, {});
  Chart2->show();
  TimerSouris->setEnabled(false);
  TimerSuivi->setEnabled(true);
  TimerMarron->setEnabled(true);
  BoutonCapture->setEnabled(false);
  BoutonStopCapture->setEnabled(true);
}

void TForm1::TimerSuiviTimer() {
  const unsigned suivi = trackingRun_;
  TimerMarron->setEnabled(false);
  Shape1->setBrushColor(clMaroon);
  const double fwhm = CalculeFWHM(false);
  // The measure serves events: the program may be closing, or the stop
  // button may have ended this tracking, and then the point and the blinking
  // belong to no tracking any more.
  if (Application->Terminated() || suivi != trackingRun_) return;
  Series4->append(Series4->count(), fwhm);
  afficheAxes(Chart2, Series4->points());
  TimerMarron->setEnabled(true);
}

void TForm1::TimerMarronTimer() { Shape1->setBrushColor(couleurClignotement(Shape1->BrushColor())); }

void TForm1::BoutonStopCaptureClick() {
  ++trackingRun_;
  Chart2->hide();
  TimerSouris->setEnabled(true);
  TimerSuivi->setEnabled(false);
  TimerMarron->setEnabled(false);
  BoutonCapture->setEnabled(false);
  BoutonStopCapture->setEnabled(false);
  Shape1->setBrushColor(clInactiveCaptionText);
}
