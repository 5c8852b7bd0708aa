// Autofocus from intra- and extra-focal images: take a reference FWHM one fast
// step from the start, walk with fast steps through focus until the star is
// as wide as the reference again, and end midway between the two.
#include "autofocus/intra_extra.h"

#include <algorithm>

#include "app/Unit1.h"
#include "autofocus/approches.h"
#include "autofocus/running_autofocus.h"
#include "focuser/motion_plan.h"
#include "measure/delay.h"
#include "measure/fwhm.h"
#include "platform/application.h"
#include "platform/number_format.h"

namespace {

const QString kLimiteAtteinte = QStringLiteral("Autofocus arrêté : limite de course atteinte.");
const QString kPasMaximalAtteint = QStringLiteral("Autofocus arrêté : nombre de pas maximal atteint.");

}  // namespace

int retourAuMilieu(int Pos1, int Pos2) {
  // At most 2^31 - 1 either way, so the result is an int.
  return static_cast<int>(-((qint64(Pos2) - Pos1) / 2));
}

bool depasseLimite(int position, int pas, int limiteBasse, int limiteHaute) {
  const qint64 arrivee = qint64(position) + pas;
  if (pas > 0) return limiteHaute != kNoUpperLimit && arrivee > limiteHaute;
  if (pas < 0) return limiteBasse != kNoLowerLimit && arrivee < limiteBasse;
  return false;
}

void TForm1::AutofocusIntraExtra() {
  if (!autofocusCanStart(*this, true)) return;
  const RunningAutofocus running(*this);
  MemoLog->Add(QStringLiteral("Lancement autofocus"));
  MemoLog->Add(QStringLiteral("  +-- Intra/Extra"));
  BoutonFocuserConnect->setEnabled(false);
  TimerSouris->setEnabled(false);
  TimerSuivi->setEnabled(false);
  // Cleared before the first measure, so that a stop during it ends the run.
  Halt = false;

  const uint32_t delai = delaiStabilisation(xDelaiAutofocus);
  // The reads keep the tolerance within its range; a negative one set any
  // other way counts as none.
  const int tolerance = std::max(xTolerance, 0);
  const int Multiplicateur = stepProduct({xPasLent, xPasRapide});
  int Direction = +1;

  // Each of these is false when the run must end where it stands: at the
  // stop request, at a travel limit, or when the program is closing.
  const auto mesure = [&](double& fw) {
    const double valeur = MesureAutofocus(*this, true);
    if (Application->Terminated()) return false;
    // An abandoned prompt measured nothing: the last real measure stands.
    if (valeur != kFwhmAbandon) {
      fw = valeur;
      fwhm_test = valeur;
      xAutofocusMesure = true;
    }
    return !Halt;
  };
  const auto deplace = [&](int pas) {
    if (Halt || Application->Terminated() || !running.deplace(pas)) return false;
    Delay(delai, true);
    return !Application->Terminated();
  };
  const auto etape = [&] {
    const int pas = stepProduct({Direction, FocStep, Multiplicateur});
    if (depasseLimite(xPosition, pas, xLimiteBasse, xLimiteHaute)) {
      running.arrete(kLimiteAtteinte, FinAutofocus::Interrompue);
      return false;
    }
    return deplace(pas);
  };
  const auto derniereEtape = [&](int Pos1, int Pos2) {
    double fwTest = 0.0;
    if (!deplace(retourAuMilieu(Pos1, Pos2)) || !mesure(fwTest)) return;
    Memo1->Add(QStringLiteral("Dernière étape, fwhm = ") + numfmt::Fixed3(fwTest, 2));
    xFinAutofocus = FinAutofocus::Terminee;
  };

  double fwIni = 0.0;
  if (!mesure(fwIni)) return;
  if (!(fwIni > xCible)) {
    AutofocusApproches();
    return;
  }

  double fwTest = 0.0;
  if (!etape() || !mesure(fwTest)) return;
  Direction = fwTest >= fwIni ? -1 : +1;
  const double fw1 = fwTest;  // the reference for the whole walk
  // The walk ends where the star is as wide as the reference again, so focus
  // lies midway between that end and the reference's own position.
  const int Pos1 = xPosition;

  if (!etape()) return;
  double fw2 = 0.0;
  if (!mesure(fw2)) return;
  double plusEtroite = fw2;  // the narrowest star the walk has passed
  for (int nbPas = 0; fw2 <= fw1; ++nbPas) {
    if (nbPas == kPasDeMarcheMaximal) {
      running.arrete(kPasMaximalAtteint, FinAutofocus::Interrompue);
      return;
    }
    if (!etape() || !mesure(fw2)) return;
    if (dansTolerance(fw1, fw2, tolerance)) {
      Memo1->Add(QStringLiteral("sortie sur écart < tolérance ini : ") + numfmt::FloatToStr(fw1) +
                 QStringLiteral(", calculé : ") + numfmt::FloatToStr(fw2));
      LabelMesure->hide();
      LabelChrono->hide();
      xSortieTolerance = true;
      // Back at the reference's width after a narrower star: past focus, so
      // the run ends midway from the reference as a completed walk does.
      if (plusEtroite < fw2) return derniereEtape(Pos1, xPosition);
      xFinAutofocus = FinAutofocus::Terminee;
      return;
    }
    plusEtroite = std::min(plusEtroite, fw2);
  }
  derniereEtape(Pos1, xPosition);
}
