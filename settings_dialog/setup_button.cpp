#include <QTimer>

#include "app/Unit1.h"
#include "app/settings_store.h"
#include "platform/application.h"
#include "platform/controls.h"
#include "settings_dialog/Unit3.h"
#include "settings_dialog/hand_over.h"

namespace {

// Whether the program holds a driver object whose link reads true. A driver
// that fails the question counts as not linked.
bool holdsLinkedDriver(const TForm1& f) {
  if (f.Focuser.isEmpty()) return false;
  try {
    return f.Focuser.Link();
  } catch (const std::exception&) {
    return false;
  }
}

// The stop button works only while the motor poll runs: whenever the dialog
// has closed and a linked driver is held, the poll runs.
void restartPoll(TForm1& f) {
  if (holdsLinkedDriver(f)) f.TimerTrackBar->setEnabled(true);
}

// Runs the end of a dialog, then the poll rule, also when that end failed.
template <class End>
void thenRestartPoll(TForm1& f, End&& end) {
  try {
    end();
  } catch (...) {
    restartPoll(f);
    throw;
  }
  restartPoll(f);
}

// The hand-over of OK: the driver marked absent and reconnected, then the
// controls copied, so the reconnection sees the record as it was before OK.
void takeValues(TForm1& f, const SettingsRecord& v) {
  f.FocuserExists = false;
  if (f.AscomOK) f.LitRegistre(false);
  copyOnOk(v, f);
}

// OK given inside a move or an autofocus run that the reconnection would cut
// from its driver: the operation is stopped (no box, no count reset) and the
// hand-over waits for its end.
void deferHandOver(TForm1& f, const SettingsRecord& v) {
  Form3->pendingHandOver = v;
  // A move whose motor already stands at its end is held up only by this
  // dialog: it ends as the dialog closes, with nothing to stop.
  if (!f.AutofocusUnderWay() && f.MoveHasEnded()) return;
  f.DemandeArret();
  // A move ends short of its target: the log says why. A run says so itself.
  if (!f.AutofocusUnderWay()) f.LogStopRequest();
  // As the stop button does, the run's measure counter and countdown go.
  f.LabelChrono->hide();
  f.LabelMesure->hide();
}

}  // namespace

void TForm1::wireSettingsEvents() {
  connect(BoutonSetup, &QToolButton::clicked, this, [this] { guarded([this] { BoutonSetupClick(); }); });
  OnOperationEnd = [this] {
    // Run once the operation's own handler has returned, never from inside
    // it. A move inside a run ends while the run goes on: the hand-over then
    // waits for the run's end.
    if (Form3 && Form3->pendingHandOver) QTimer::singleShot(0, this, [] { guarded(handOverAfterOperation); });
  };
}

void TForm1::BoutonSetupClick() {
  if (Application->Terminated()) return;  // a click served after the close opens nothing
  TimerSouris->setEnabled(false);
  TimerTrackBar->setEnabled(false);
  // Owned by the main window, the dialog stays above it although the main
  // window stays on top of every other window.
  if (Form3->parentWidget() != this) Form3->setParent(this, Form3->windowFlags());
  const int result = Form3->exec();
  // The program is closing: nothing more is started.
  if (Application->Terminated()) return;
  thenRestartPoll(*this, [&] {
    bool deferred = false;
    if (result == QDialog::Accepted) {
      const SettingsRecord v = Form3->LitValeurs();
      // Only a reconnection replaces the driver object an operation drives.
      deferred = AscomOK && OperationUnderWay();
      if (deferred) {
        deferHandOver(*this, v);
      } else {
        // This OK holds whatever an earlier one kept back: the dialog showed it.
        Form3->pendingHandOver.reset();
        takeValues(*this, v);
      }
    }
    // Picking is on whatever the state of "On/off": the picking tick does
    // nothing while the box is unticked.
    if (!deferred) TimerSouris->setEnabled(true);
  });
}

void handOverAfterOperation() {
  if (!Form1 || !Form3 || Form1->OperationUnderWay() || !Form3->pendingHandOver) return;
  if (Application->Terminated()) return;
  const SettingsRecord v = *Form3->pendingHandOver;
  Form3->pendingHandOver.reset();
  TForm1& f = *Form1;
  thenRestartPoll(f, [&] {
    takeValues(f, v);
    f.TimerSouris->setEnabled(true);
  });
}

void handOverAtClose() {
  if (!Form1 || !Form3 || !Form3->pendingHandOver) return;
  copyOnOk(*Form3->pendingHandOver, *Form1);
  Form3->pendingHandOver.reset();
}
