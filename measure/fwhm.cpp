#include "measure/fwhm.h"

#include <QAbstractAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/Unit1.h"
#include "measure/delay.h"
#include "measure/frame.h"
#include "platform/application.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/number_format.h"

namespace {

const QString kPromptManuel = QStringLiteral(
    "Déclenchez la prise de vue, puis appuyez sur le bouton OK quand la photo apparaît à l'écran");

// The wait before each capture, so the screen shows the latest picture.
constexpr uint32_t kAttenteCaptureMs = 100;

// Peak display limits: below the first the star is too faint to measure
// well, above the second it is close to saturation.
constexpr double kPicFaible = 100.0;
constexpr double kPicFort = 200.0;

// Both series share the chart's axes, which follow the values as they come.
void ajusteAxes(QChartView* view, const StarMeasure& m) {
  const auto horizontal = view->chart()->axes(Qt::Horizontal);
  const auto vertical = view->chart()->axes(Qt::Vertical);
  if (horizontal.isEmpty() || vertical.isEmpty()) return;
  const int points = std::max<int>(m.colonneProfil - 1 + m.profil.size(), m.lignes);
  horizontal.first()->setRange(0, std::max(points - 1, 1));
  double lo = m.demiNiveau, hi = m.demiNiveau;
  for (double v : m.profil) {
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  if (m.lignes == 0 && m.profil.isEmpty()) lo = hi = 0;
  vertical.first()->setRange(lo - 1, hi + 1);
}

}  // namespace

int measuredSide(int xTaille) { return std::clamp(xTaille, 0, kMaxTaille); }

double intensite(QRgb pixel) {
  return (77 * qRed(pixel) + 150 * qGreen(pixel) + 29 * qBlue(pixel)) / 256.0;
}

StarMeasure mesureEtoile(const QImage& image, int side, const QRect& onScreen) {
  constexpr int kCote = kMaxTaille - 1;  // the table: columns and rows 1 to 39
  double TabIntensite[kCote + 1][kCote + 1] = {};
  StarMeasure m;
  const int n = measuredSide(side);
  // Row 0 and column 0 are never scanned. A square that reaches past the
  // screen's edge holds black there, which would lower the minimum and the
  // half level toward the sky's and count the sky as star.
  const QRect scanned = n >= 2 ? QRect(1, 1, n - 1, n - 1) & onScreen & image.rect() : QRect();

  for (int I = scanned.top(); I <= scanned.bottom(); ++I) {
    for (int J = scanned.left(); J <= scanned.right(); ++J) {
      const double V = intensite(image.pixel(J, I));
      TabIntensite[J][I] = V;
      if (V > m.IMax) {
        m.IMax = V;
        m.YMax = I;
      }
      if (V < m.IMin) m.IMin = V;
    }
  }

  // A square with no pixel brighter than 0 has no peak row: the profile stays empty.
  if (m.YMax >= 1) {
    m.colonneProfil = scanned.left();
    for (int J = scanned.left(); J <= scanned.right(); ++J) {
      const double v = TabIntensite[J][m.YMax];
      if (v > m.IMax2) m.IMax2 = v;
      m.profil.append(v);
    }
  }

  m.demiNiveau = m.IMin + (m.IMax - m.IMin) / 2;
  m.lignes = scanned.height();
  for (int I = scanned.top(); I <= scanned.bottom(); ++I)
    for (int J = scanned.left(); J <= scanned.right(); ++J)
      if (TabIntensite[J][I] >= m.demiNiveau) ++m.K;
  m.fwhm = 2 * std::sqrt(m.K / std::numbers::pi);
  return m;
}

StarMeasure mesureEtoile(const QImage& image, int side) { return mesureEtoile(image, side, image.rect()); }

TColor couleurPic(double IMax2) {
  if (IMax2 < kPicFaible) return clOrange;
  if (IMax2 > kPicFort) return clRed;
  return clGreen;
}

double CalculeFWHM(bool IsAutoFocus) {
  TForm1& f = *Form1;
  if (IsAutoFocus) {
    f.Shape1->setBrushColor(clMaroon);
    if (f.xManuel) {
      f.TimerSouris->setEnabled(false);
      f.platform().desktop.bringToFront(&f);
      const ModalResult answer =
          f.platform().dialogs.MessageDlg(kPromptManuel, MsgDlgType::Warning, {MsgDlgBtn::OK, MsgDlgBtn::Abort});
      if (Application->Terminated()) return kFwhmAbandon;
      f.TimerSouris->setEnabled(true);
      if (answer == ModalResult::Abort) {
        f.Shape1->setBrushColor(clInactiveCaptionText);
        f.LabelMesure->hide();
        f.LabelChrono->hide();
        Halt = true;
        return kFwhmAbandon;
      }
    }
  }

  // The program's own frame is never measured: a frame left at another size
  // goes before the wait, which gives the screen time to show what it hid.
  const int side = measuredSide(f.xTaille);
  RecadreCarre(side);
  Delay(kAttenteCaptureMs, false);
  if (Application->Terminated()) return kFwhmAbandon;

  QImage square;
  QRect onScreen;
  {
    const std::unique_ptr<DesktopDC> dc = f.platform().desktop.GetWindowDC();
    const QRect r(OrigX, OrigY, side, side);
    square = dc->copy(r);
    onScreen = dc->onScreen(r).translated(-r.topLeft());
    f.Image1->setPicture(square);
    DessineRectangle(OrigX - 1, OrigY - 1, OrigX + side + 1, OrigY + side + 1, false);
  }

  const StarMeasure m = mesureEtoile(square, side, onScreen);
  // The profile keeps its place in the row: past a screen edge the chart is empty.
  f.Series1->clear();
  for (int i = 0; i < m.profil.size(); ++i) f.Series1->append(m.colonneProfil - 1 + i, m.profil[i]);
  f.LabelIntMax->setColor(couleurPic(m.IMax2));
  f.LabelIntMax->setText(numfmt::Fixed3(m.IMax2, 0));
  f.Series2->clear();
  for (int i = 0; i < m.lignes; ++i) f.Series2->append(i, m.demiNiveau);
  ajusteAxes(f.Chart1, m);
  f.LabelFWHM->setText(numfmt::Fixed3(m.fwhm, 1));

  Application->ProcessMessages();
  if (IsAutoFocus && !f.xManuel) f.Shape1->setBrushColor(clInactiveCaptionText);
  return m.fwhm;
}
