#pragma once
// A long operation under way: a focuser move or an autofocus run, whose waits
// serve the window's events, so that the setup button works inside them. The
// main window's OperationUnderWay() says whether one is under way.
//
// Each operation holds a RunningOperation for its whole length; as each one
// ends, the main window's OnOperationEnd runs. The settings dialog hands over
// there what an OK given meanwhile kept back, so no operation goes on driving
// a driver object that the OK replaced.
class TForm1;

class RunningOperation {
 public:
  explicit RunningOperation(TForm1& form) : form_(form) {}
  ~RunningOperation();
  RunningOperation(const RunningOperation&) = delete;
  RunningOperation& operator=(const RunningOperation&) = delete;

 private:
  TForm1& form_;
};
