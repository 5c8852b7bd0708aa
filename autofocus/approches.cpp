// Autofocus by successive approaches: find the direction in which the star
// narrows, walk that way while it narrows, walk back with slow steps while it
// narrows, and end one slow step back.
#include "autofocus/approches.h"

#include <algorithm>
#include <cmath>

#include "app/Unit1.h"
#include "autofocus/running_autofocus.h"
#include "focuser/motion_plan.h"
#include "measure/delay.h"
#include "measure/fwhm.h"
#include "platform/application.h"
#include "platform/number_format.h"

namespace {

// A star narrower than this, in pixels, is near focus: slow steps from the start.
constexpr double kFwhmPresDuFoyer = 6.0;
const QString kModeFin = QStringLiteral("Fin");
const QString kTermine = QStringLiteral("Autofocus terminé, fwhm = ");

// How a walking phase ended.
enum class FinDePhase { Suite, Tolerance, Arret };

}  // namespace

double fMoyenne(TabDouble Tab, int Nbre) {
  const int n = std::clamp(Nbre, 0, static_cast<int>(Tab.size()));
  double fSomme = 0.0;
  for (int I = 0; I < n; ++I) fSomme += Tab[I];
  Form1->Memo1->Add(numfmt::Fixed3(fSomme, 2) + QLatin1Char('/') + QString::number(n));
  return n > 0 ? fSomme / n : 0.0;
}

int nombreDeMesures(int xNbMesures, bool xManuel) {
  if (xManuel) return 1;
  return std::min(xNbMesures, static_cast<int>(TabDouble().size()));
}

int multiplicateurDepart(double fwhmIni, const QString& modeFocus, int pasLent, int pasRapide) {
  if (modeFocus == kModeFin || fwhmIni < kFwhmPresDuFoyer) return pasLent;
  return stepProduct({pasLent, pasRapide});
}

bool dansTolerance(double precedent, double nouveau, int tolerance) {
  const double D = std::fabs(100.0 - 100.0 * precedent / nouveau);
  return tolerance >= D;
}

uint32_t delaiStabilisation(int secondes) {
  return static_cast<uint32_t>(std::clamp<qint64>(qint64(secondes) * 1000, 0, UINT32_MAX));
}

void TForm1::AutofocusApproches() {
  // In "Fin" mode the run takes slow steps only.
  if (!autofocusCanStart(*this, ModeFocus != kModeFin)) return;
  const RunningAutofocus running(*this);
  MemoLog->Add(QStringLiteral("Lancement autofocus"));
  MemoLog->Add(QStringLiteral("  +-- Approches"));
  TimerSouris->setEnabled(false);
  TimerSuivi->setEnabled(false);
  BoutonFocuserConnect->setEnabled(false);
  Halt = false;

  const uint32_t delai = delaiStabilisation(xDelaiAutofocus);
  int Nb = -1;  // fixed at the first series
  TabDouble TabFW{};
  int Direction = +1;
  double fwhm_ini = 0.0;

  // Each of these is false when the run must end where it stands: at the
  // stop request, or when the program is closing.
  const auto deplace = [&](int multiplicateur) {
    if (Halt || Application->Terminated()) return false;
    return running.deplace(stepProduct({Direction, FocStep, multiplicateur}));
  };
  const auto mesure = [&](bool IsAutoFocus) {
    const double fwhm = MesureAutofocus(*this, IsAutoFocus);
    if (Application->Terminated()) return false;
    // An abandoned prompt measured nothing: the last real measure stands.
    if (fwhm != kFwhmAbandon) {
      fwhm_test = fwhm;
      xAutofocusMesure = true;
    }
    return true;
  };
  const auto serie = [&] {
    if (Nb < 0) {
      Nb = nombreDeMesures(xNbMesures, xManuel);
      LabelMesure->setVisible(!xManuel);
      LabelChrono->setVisible(!xManuel);
    }
    for (int i = 1; i <= Nb; ++i) {
      LabelMesure->setText(QStringLiteral("Mesure %1/%2").arg(i).arg(Nb));
      if (!mesure(true)) return false;
      TabFW[i - 1] = fwhm_test;
      if (Halt) return false;
      Delay(delai, true);
      if (Application->Terminated()) return false;
    }
    if (Nb >= 3) fwhm_test = fMoyenne(TabFW, Nb);
    return true;
  };
  // Steps while each new FWHM is smaller than the one before.
  const auto marche = [&](int multiplicateur) {
    bool Fin = false;
    do {
      if (!deplace(multiplicateur) || !serie()) return FinDePhase::Arret;
      if (dansTolerance(fwhm_ini, fwhm_test, xTolerance)) return FinDePhase::Tolerance;
      Fin = fwhm_test >= fwhm_ini || Halt;
      fwhm_ini = fwhm_test;
    } while (!Fin);
    return Halt ? FinDePhase::Arret : FinDePhase::Suite;
  };
  const auto termine = [&] {
    MemoLog->Add(kTermine + numfmt::Fixed3(fwhm_test, 1));
    LabelMesure->hide();
    LabelChrono->hide();
    xFinAutofocus = FinAutofocus::Terminee;
  };

  if (!mesure(false)) return;
  fwhm_ini = fwhm_test;
  MemoLog->Add(QStringLiteral("fwhm ini = ") + numfmt::Fixed3(fwhm_ini, 1));
  if (Halt) return;

  Label1->setText(QStringLiteral("Sens moteur"));
  const int Multiplicateur = multiplicateurDepart(fwhm_ini, ModeFocus, xPasLent, xPasRapide);
  if (!deplace(Multiplicateur) || !serie()) return;
  Direction = fwhm_test >= fwhm_ini ? -1 : +1;

  Label1->setText(QStringLiteral("Etape 2"));
  fwhm_ini = fwhm_test;
  FinDePhase fin = marche(Multiplicateur);
  if (fin == FinDePhase::Arret) return;
  if (fin == FinDePhase::Tolerance) {
    xSortieTolerance = true;
    return termine();
  }

  Label1->setText(QStringLiteral("Etape 3"));
  Direction = -Direction;
  fin = marche(xPasLent);
  if (fin == FinDePhase::Arret) return;
  if (fin == FinDePhase::Tolerance) {
    xSortieTolerance = true;
    return termine();
  }

  Label1->setText(QStringLiteral("Fin"));
  Direction = -Direction;
  if (!deplace(xPasLent) || !serie()) return;
  termine();
}
