#include "settings_dialog/learning.h"

#include "app/Unit1.h"
#include "platform/controls.h"
#include "settings_dialog/Unit3.h"

Limites apprendLimiteBasse(int position, int limiteHaute) {
  return {position, position > limiteHaute ? position : limiteHaute};
}

bool accepteLimiteHaute(int position, int limiteBasse) { return position > limiteBasse; }

TColor couleurBoite(const QString& text, int sentinelle) {
  return text == QString::number(sentinelle) ? clWindow : clLightGreen;
}

void TForm3::ValideLimiteBasseClick() {
  TForm1& f = *Form1;
  f.TimerTrackBar->setEnabled(false);
  const Limites l = apprendLimiteBasse(f.StandingPosition(), f.xLimiteHaute);
  f.xLimiteBasse = l.basse;
  LimiteBasse->setText(QString::number(f.xLimiteBasse));
  if (l.haute != f.xLimiteHaute) {
    f.xLimiteHaute = l.haute;
    LimiteHaute->setText(QString::number(f.xLimiteHaute));
  }
  // The poll runs from here on, also after the dialog closes.
  f.TimerTrackBar->setEnabled(true);
}

void TForm3::ValideLimiteHauteClick() {
  TForm1& f = *Form1;
  const int position = f.StandingPosition();
  if (!accepteLimiteHaute(position, f.xLimiteBasse)) return;
  f.xLimiteHaute = position;
  LimiteHaute->setText(QString::number(f.xLimiteHaute));
}

void TForm3::ValideMAPClick() {
  TForm1& f = *Form1;
  f.xPositionMap = f.StandingPosition();
  PointDeMap->setText(QString::number(f.xPositionMap));
  f.BoutonRappelMAP->setEnabled(true);
}

namespace {
// A cleared limit leaves the travel gauge maroon and empty until the position
// display next draws it in full.
void videJauge(TForm1& f) {
  f.BarrePO->setBackColor(clMaroon);
  f.BarrePO->setProgress(0);
}
}  // namespace

void TForm3::EffaceLimiteBasseClick() {
  TForm1& f = *Form1;
  f.xLimiteBasse = kNoLowerLimit;
  LimiteBasse->setText(QString::number(kNoLowerLimit));
  LimiteBasse->setColor(clWindow);
  videJauge(f);
}

void TForm3::EffaceLimiteHauteClick() {
  TForm1& f = *Form1;
  f.xLimiteHaute = kNoUpperLimit;
  LimiteHaute->setText(QString::number(kNoUpperLimit));
  LimiteHaute->setColor(clWindow);
  videJauge(f);
}

void TForm3::EffaceMAPClick() {
  TForm1& f = *Form1;
  f.xPositionMap = kNoFocusPosition;
  PointDeMap->setText(QString::number(kNoFocusPosition));
  PointDeMap->setColor(clWindow);
}

void TForm3::LimiteBasseChange() { LimiteBasse->setColor(couleurBoite(LimiteBasse->text(), kNoLowerLimit)); }
void TForm3::LimiteHauteChange() { LimiteHaute->setColor(couleurBoite(LimiteHaute->text(), kNoUpperLimit)); }
void TForm3::PointDeMapChange() { PointDeMap->setColor(couleurBoite(PointDeMap->text(), kNoFocusPosition)); }
