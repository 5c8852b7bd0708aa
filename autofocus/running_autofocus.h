#pragma once
// An autofocus run under way, held by each method for its whole length.
#include <QString>

#include "app/running_operation.h"

class TForm1;
enum class FinAutofocus;

// The measure a run takes at each focuser position: the one the window was
// given (TForm1::autofocusMeasure), or CalculeFWHM.
double MesureAutofocus(TForm1& form, bool IsAutoFocus);

// The guards both methods start with: a driver object whose link reads true,
// star picking switched on, and steps that move the focuser: the driver's step
// and the slow step, and the fast step when the run takes it (`pasRapide`).
// When they fail, the run's end says why and nothing else changes.
bool autofocusCanStart(TForm1& form, bool pasRapide);

// While held, the stop button is enabled and the motor poll keeps it so
// through the settle delays, the motion and autofocus buttons start nothing,
// and an OK of the settings dialog waits for the run's end. A run that holds
// it counts as interrupted, with no measure, until it reaches one of its ends.
class RunningAutofocus {
 public:
  explicit RunningAutofocus(TForm1& form);
  ~RunningAutofocus();
  RunningAutofocus(const RunningAutofocus&) = delete;
  RunningAutofocus& operator=(const RunningAutofocus&) = delete;

  // Moves the focuser by `pas` steps. False when the run must end there:
  // the program is closing, or the move was given up, which fails the run.
  bool deplace(int pas) const;
  // Ends the run short of its end, though the user did not stop it, as `fin`
  // (interrupted, or failed) for `raison`, which the log and the end box give.
  void arrete(const QString& raison, FinAutofocus fin) const;

 private:
  TForm1& form_;
  RunningOperation operation_;
};
