#include "autofocus/running_autofocus.h"

#include "app/Unit1.h"
#include "measure/fwhm.h"

bool autofocusCanStart(TForm1& f) {
  if (f.Focuser.isEmpty() || !f.Focuser.Link()) {
    f.xFinAutofocus = FinAutofocus::MoteurNonConnecte;
    return false;
  }
  if (!f.CheckBox1->isChecked()) {
    f.xFinAutofocus = FinAutofocus::SelectionDesactivee;
    return false;
  }
  return true;
}

RunningAutofocus::RunningAutofocus(TForm1& form) : form_(form), operation_(form) {
  ++form_.autofocusRuns_;
  form_.BoutonSTOP->setEnabled(true);
  form_.xFinAutofocus = FinAutofocus::Interrompue;
  form_.xAutofocusMesure = false;
  // Never another run's value.
  form_.fwhm_test = 0.0;
}

RunningAutofocus::~RunningAutofocus() { --form_.autofocusRuns_; }

double MesureAutofocus(TForm1& form, bool IsAutoFocus) {
  return form.autofocusMeasure ? form.autofocusMeasure(IsAutoFocus) : CalculeFWHM(IsAutoFocus);
}
