#include "autofocus/en_cours.h"

#include "app/Unit1.h"

AutofocusEnCours::AutofocusEnCours(TForm1& form) : form_(form), operation_(form) {
  ++form_.autofocusRuns_;
  form_.BoutonSTOP->setEnabled(true);
}

AutofocusEnCours::~AutofocusEnCours() { --form_.autofocusRuns_; }
