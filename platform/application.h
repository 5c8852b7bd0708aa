#pragma once
// The application object of the window framework: its title, the pending-event
// pass, the error box for errors that no handler catches, and the program's
// closing state.
#include <QString>
#include <exception>

class Dialogs;
class EventPump;

class TApplication {
 public:
  TApplication(EventPump& pump, Dialogs& dialogs) : pump_(pump), dialogs_(dialogs) {}

  // The taskbar text and the caption of the error box.
  QString Title;

  EventPump& pump() { return pump_; }
  Dialogs& dialogs() { return dialogs_; }

  // Serves the pending window events once.
  void ProcessMessages();

  // Shows an error that escaped a handler: its text with the full-stop rule,
  // the title as caption, a stop icon and OK. While such a box is open a new
  // error adds no second box.
  void HandleException(const std::exception& error);

  // The program is closing: every wait and every loop that serves events ends
  // at its next pass, and no further move or drawing is started. The event
  // loops themselves go on until the close has done its work.
  void Terminate();
  bool Terminated() const { return terminated_; }

 private:
  EventPump& pump_;
  Dialogs& dialogs_;
  bool terminated_ = false;
  bool errorBoxOpen_ = false;
};

// The error text as the error box shows it: a full stop is added unless the
// text is empty or ends with a full stop or a character of lower code.
QString errorBoxText(const QString& message);

// The application of this process, made by the program block (or a test).
extern TApplication* Application;

// Runs an event handler; what escapes it goes to the error box, and the rest
// of the handler is skipped. Every handler, timer tick and slot runs so.
template <class F>
void guarded(F&& handler) noexcept {
  try {
    handler();
  } catch (const std::exception& error) {
    if (Application) Application->HandleException(error);
  } catch (...) {
    if (Application) Application->HandleException(std::runtime_error("Erreur inconnue"));
  }
}
