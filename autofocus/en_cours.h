#pragma once
// An autofocus run under way, held by each method for its whole length.
#include "settings_dialog/operation_en_cours.h"

class TForm1;

// While held, the stop button is enabled and the motor poll keeps it so
// through the settle delays, the motion and autofocus buttons start nothing,
// and an OK of the settings dialog waits for the run's end.
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
