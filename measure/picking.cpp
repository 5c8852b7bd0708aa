#include <QApplication>
#include <QChart>
#include <QChartView>
#include <algorithm>

#include "app/Unit1.h"
#include "measure/frame.h"
#include "measure/fwhm.h"
#include "measure/picking.h"
#include "measure/tracking.h"
#include "platform/application.h"
#include "platform/desktop.h"
#include "platform/number_format.h"

bool pointDansFenetre(QPoint p, const QRect& outer) {
  // Inclusive on all four sides: the column just right of the window and the
  // row just below it count as inside.
  return outer.left() <= p.x() && p.x() <= outer.left() + outer.width() && outer.top() <= p.y() &&
         p.y() <= outer.top() + outer.height();
}

bool pointSurLeProgramme(QPoint p, Desktop& desktop) {
  const QWidgetList windows = QApplication::topLevelWidgets();
  return std::any_of(windows.begin(), windows.end(), [&](const QWidget* w) {
    return w->isVisible() && !w->isMinimized() && pointDansFenetre(p, desktop.frameOnScreen(w));
  });
}

void TForm1::wireMeasureEvents() {
  connect(TimerSouris, &TTimer::OnTimer, this, [this] { guarded([this] { TimerSourisTimer(); }); });
  // A button held when picking comes on was pressed where no tick saw it.
  connect(TimerSouris, &TTimer::PeriodStarted, this, [this] { buttonSeenDown_ = false; });
  connect(CheckBox1, &QCheckBox::toggled, this, [this] { guarded([this] { CheckBox1Click(); }); });
  connect(BoutonCapture, &QToolButton::clicked, this, [this] { guarded([this] { BoutonCaptureClick(); }); });
  connect(BoutonStopCapture, &QToolButton::clicked, this, [this] { guarded([this] { BoutonStopCaptureClick(); }); });
  connect(TimerSuivi, &TTimer::OnTimer, this, [this] { guarded([this] { TimerSuiviTimer(); }); });
  connect(TimerMarron, &TTimer::OnTimer, this, [this] { guarded([this] { TimerMarronTimer(); }); });
  connect(Chart2->chart(), &QChart::plotAreaChanged, this,
          [this] { guarded([this] { placeEtiquettesHistorique(Chart2); }); });
}

void TForm1::TimerSourisTimer() {
  if (Application->Terminated()) return;
  Desktop& desktop = platform_.desktop;
  const QPoint P = desktop.GetCursorPos();
  const bool down = desktop.leftButtonDown();
  // A press is judged where a tick first sees the button down, and stays so
  // to its release: one that began on the program's window is a move or a
  // resize of it, however far the pointer then leads the window.
  if (down && !buttonSeenDown_) pressOnProgram_ = pointSurLeProgramme(P, desktop);
  buttonSeenDown_ = down;

  // The frame move and the measurement serve events, so the next tick can come
  // while this pick is under way; it must not start a pick inside this one.
  if (pickUnderWay_) return;
  // A run measures the star it started on to its end, though the prompts of
  // the manual trigger switch picking on inside it.
  if (AutofocusUnderWay()) return;
  if (!down || pressOnProgram_) return;
  if (pointSurLeProgramme(P, desktop)) return;
  if (TimerSuivi->Enabled()) return;
  if (!CheckBox1->isChecked()) return;

  pickUnderWay_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{pickUnderWay_};

  const int side = measuredSide(xTaille);
  const int H = side / 2;
  {
    const std::unique_ptr<DesktopDC> dc = platform_.desktop.GetWindowDC();
    Image1->setPicture(dc->copy(QRect(P.x() - H, P.y() - H, side, side)));
  }
  BoutonAutofocus->setEnabled(true);
  OrigX = P.x() - H;
  OrigY = P.y() - H;
  BoutonCapture->setEnabled(true);
  DessineCadre(OrigX - 1, OrigY - 1, OrigX + side + 1, OrigY + side + 1, false);
  if (Application->Terminated()) return;
  const double fwhmtmp = CalculeFWHM(false);
  if (Application->Terminated()) return;
  xIsEtoile = true;
  MemoLog->Add(QStringLiteral("Sélection étoile (") + QString::number(P.x()) + QLatin1Char(',') +
               QString::number(P.y()) + QLatin1Char(')'));
  MemoLog->Add(QStringLiteral("  +-- fwhm = ") + numfmt::Fixed3(fwhmtmp, 2));
}

void TForm1::CheckBox1Click() {
  const bool ticked = CheckBox1->isChecked();
  TimerSouris->setEnabled(ticked);
  if (FocuserExists) {
    const bool etoile = xIsEtoile;
    const bool lie = Focuser.Link();  // read even with no star picked
    if (etoile && lie) BoutonAutofocus->setEnabled(ticked);
  }
  if (!ticked) {
    BoutonCapture->setEnabled(false);
    RafraichitBureau();
  }
}
