#pragma once
// A long operation under way: a focuser move or an autofocus run, whose waits
// serve the window's events so that the setup button works inside them. The
// main window's OperationUnderWay() says whether one is under way.
//
// An OK of the settings dialog given meanwhile halts the driver, sets the
// stop request, and keeps its hand-over (the reconnection, the copy of the
// controls, star picking switched on) until no operation is under way any
// more, so no operation goes on driving a driver object that was replaced.
// Each operation holds an OperationEnCours for its whole length; its end
// hands over what an OK kept back.
class TForm1;

class OperationEnCours {
 public:
  explicit OperationEnCours(TForm1& form) : form_(form) {}
  ~OperationEnCours();
  OperationEnCours(const OperationEnCours&) = delete;
  OperationEnCours& operator=(const OperationEnCours&) = delete;

 private:
  TForm1& form_;
};

// Runs the hand-over that an OK kept back, once no operation is under way.
void RemiseApresOperation();

// The program closes while a hand-over waits: the values of its OK go into
// the record, so the settings file keeps them; nothing is reconnected.
void RemiseALaFermeture();
