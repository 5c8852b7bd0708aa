#pragma once
// An autofocus run under way, held by each method for its whole length.
#include "settings_dialog/operation_en_cours.h"

class TForm1;

// The guards both methods start with: a driver object whose link reads true,
// and star picking switched on. When they fail, the run's end says why and
// nothing else changes.
bool autofocusPeutDemarrer(TForm1& form);

// While held, the stop button is enabled and the motor poll keeps it so
// through the settle delays, the motion and autofocus buttons start nothing,
// and an OK of the settings dialog waits for the run's end. A run that holds
// it counts as interrupted, with no measure, until it reaches one of its ends.
class AutofocusEnCours {
 public:
  explicit AutofocusEnCours(TForm1& form);
  ~AutofocusEnCours();
  AutofocusEnCours(const AutofocusEnCours&) = delete;
  AutofocusEnCours& operator=(const AutofocusEnCours&) = delete;

 private:
  TForm1& form_;
  OperationEnCours operation_;
};
