#include "autofocus/running_autofocus.h"

#include "app/Unit1.h"
#include "measure/fwhm.h"
#include "platform/application.h"

namespace {
const QString kDeplacementAbandonne = QStringLiteral("Autofocus échoué : déplacement abandonné.");
}  // namespace

bool autofocusCanStart(TForm1& f, bool pasRapide) {
  if (f.Focuser.isEmpty() || !f.Focuser.Link()) {
    f.xFinAutofocus = FinAutofocus::MoteurNonConnecte;
    return false;
  }
  if (!f.CheckBox1->isChecked()) {
    f.xFinAutofocus = FinAutofocus::SelectionDesactivee;
    return false;
  }
  // Every move of a run is a product of these: with one at 0 the run would
  // measure the same place twice and take the equal widths for focus.
  if (f.FocStep == 0) {
    f.xFinAutofocus = FinAutofocus::PasFocuserNul;
    return false;
  }
  if (f.xPasLent == 0) {
    f.xFinAutofocus = FinAutofocus::PasLentNul;
    return false;
  }
  if (pasRapide && f.xPasRapide == 0) {
    f.xFinAutofocus = FinAutofocus::PasRapideNul;
    return false;
  }
  return true;
}

RunningAutofocus::RunningAutofocus(TForm1& form) : form_(form), operation_(form) {
  ++form_.autofocusRuns_;
  form_.BoutonSTOP->setEnabled(true);
  form_.xFinAutofocus = FinAutofocus::Interrompue;
  form_.xRaisonFinAutofocus.clear();
  form_.xAutofocusMesure = false;
  // Never another run's value.
  form_.fwhm_test = 0.0;
}

RunningAutofocus::~RunningAutofocus() { --form_.autofocusRuns_; }

bool RunningAutofocus::deplace(int pas) const {
  form_.Moteur(pas, false);
  if (Application->Terminated()) return false;
  if (!form_.MoveGivenUp()) return true;
  // Every measure after it would be of a place nobody knows.
  arrete(kDeplacementAbandonne, FinAutofocus::Echouee);
  return false;
}

void RunningAutofocus::arrete(const QString& raison, FinAutofocus fin) const {
  form_.MemoLog->Add(raison);
  form_.xRaisonFinAutofocus = raison;
  form_.xFinAutofocus = fin;
}

double MesureAutofocus(TForm1& form, bool IsAutoFocus) {
  return form.autofocusMeasure ? form.autofocusMeasure(IsAutoFocus) : CalculeFWHM(IsAutoFocus);
}
