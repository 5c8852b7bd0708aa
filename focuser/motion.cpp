// The motion routine, the position display and the motor poll.
#include <functional>
#include <optional>

#include "app/Unit1.h"
#include "focuser/motion_plan.h"
#include "focuser/travel_gauge.h"
#include "platform/application.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "app/running_operation.h"

namespace {

// The waits for the motor ask IsMoving with this pause between questions, so
// the driver gets a few questions a second and the window its events.
constexpr int kMotorPollPauseMs = 50;
// A driver that has not reported the end of a move after this long is given up...
constexpr uint32_t kMotorWaitTimeoutMs = 5 * 60 * 1000;
// ...and so is one that still moves this long after the user pressed STOP.
constexpr uint32_t kHaltWaitTimeoutMs = 5000;

const QString kWaitTimedOut = QStringLiteral("Délai dépassé : le focuser n'a pas signalé la fin de son mouvement.");
// The slow-move buttons stay usable with no driver object.
const QString kNoFocuser = QStringLiteral("Aucun focuser n'est en service : le mouvement n'est pas envoyé");
const QString kPollStopped = QStringLiteral("Erreur du focuser : suivi du moteur arrêté.");

enum class MotorWait { AtRest, TimedOut, Closing };

// Waits until the driver reports the motor at rest. `askFirst` false serves
// the window's events before the first question (right after a Move).
MotorWait waitForMotor(TForm1& form, bool askFirst, const std::function<bool()>& stopRequested = {}) {
  Clock& clock = form.platform().clock;
  const uint32_t start = clock.GetTickCount();
  std::optional<uint32_t> stopSeen;
  for (bool ask = askFirst;; ask = true) {
    if (ask && !form.Focuser.IsMoving()) return MotorWait::AtRest;
    const uint32_t now = clock.GetTickCount();
    if (!stopSeen && stopRequested && stopRequested()) stopSeen = now;
    if (now - start >= kMotorWaitTimeoutMs || (stopSeen && now - *stopSeen >= kHaltWaitTimeoutMs)) {
      form.MemoLog->Add(kWaitTimedOut);
      return MotorWait::TimedOut;
    }
    Application->pump().WaitForEvents(kMotorPollPauseMs);
    if (Application->Terminated()) return MotorWait::Closing;
  }
}

}  // namespace

void TForm1::StopMoves() {
  ++stopCount_;
  stepsInTurn_.clear();
}

void TForm1::StepMoveInTurn(int steps) {
  if (moveUnderWay_)
    stepsInTurn_.append(steps);
  else
    Moteur(steps, false);
}

void TForm1::Moteur(int Pos, bool IsAbs) {
  // Clicks arrive inside a move's waits; the buttons refuse or queue theirs
  // before coming here, so a move never starts inside another.
  if (moveUnderWay_ || Application->Terminated()) return;
  if (Focuser.isEmpty()) throw Exception(kNoFocuser);
  moveUnderWay_ = true;
  // An OK of the settings dialog given during the move waits for its end.
  const RunningOperation operation(*this);
  try {
    moveOnce(Pos, IsAbs);
    while (!stepsInTurn_.isEmpty() && !Application->Terminated()) moveOnce(stepsInTurn_.takeFirst(), false);
  } catch (...) {
    moveUnderWay_ = false;
    stepsInTurn_.clear();
    throw;
  }
  moveUnderWay_ = false;
}

void TForm1::moveOnce(int Pos, bool IsAbs) {
  const unsigned stopsBefore = stopCount_;
  const auto stopped = [this, stopsBefore] { return stopCount_ != stopsBefore; };

  bool absolute = Focuser.Absolute();
  if (absolute) xPosition = Focuser.Position();

  MotorWait end = MotorWait::AtRest;
  if (IsAbs) {
    const MovePlan plan = planTarget(xPosition, Pos, FocMaxIncrement);
    bool cut = false;  // a stop or a silent driver ended the plan early
    for (qint64 i = 0; i < plan.fullMoves && !cut; ++i) {
      absolute = Focuser.Absolute();
      if (absolute) {
        Focuser.MoveToPositionPlus(plan.chunk);
      } else {
        Focuser.Move(plan.chunk);
        xPosition = addSteps(xPosition, plan.chunk);
      }
      end = waitForMotor(*this, false, stopped);
      if (end == MotorWait::Closing) return;
      cut = end == MotorWait::TimedOut || stopped();
    }
    if (!cut) {
      absolute = Focuser.Absolute();
      if (absolute) {
        Focuser.MoveToPositionPlus(plan.last);
      } else {
        Focuser.Move(plan.last);
        xPosition = Pos;
      }
      end = waitForMotor(*this, false, stopped);
      if (end == MotorWait::Closing) return;
    }
    // A relative count already says what was sent, and a stop has set it to 0
    // since; an absolute driver tells where a cut move left it.
    if (absolute)
      xPosition = (cut || stopped() || end == MotorWait::TimedOut) ? Focuser.Position() : Pos;
  } else if (absolute) {
    Focuser.MoveToPositionPlus(Pos);
    end = waitForMotor(*this, false, stopped);
    if (end == MotorWait::Closing) return;
    // Read once the motor stands: right after the command a driver reports
    // where it started from.
    xPosition = Focuser.Position();
  } else {
    Focuser.MoveByReference(Pos);
    xPosition = addSteps(xPosition, Pos);
    end = waitForMotor(*this, false, stopped);
    if (end == MotorWait::Closing) return;
  }
  // A driver that does not report the end of its moves gets no queued moves.
  if (end == MotorWait::TimedOut) stepsInTurn_.clear();
  AfficheBarrePO();
}

void TForm1::AfficheBarrePO() {
  if (Focuser.isEmpty()) return;
  if (!Focuser.Link()) return;
  if (waitForMotor(*this, true) == MotorWait::Closing) return;
  LabelPosition->setText(QString::number(xPosition));
  const std::optional<TravelGauge> gauge = travelGauge(xPosition, xLimiteBasse, xLimiteHaute, xPositionMap);
  if (!gauge) return;
  if (gauge->lowerLimitButton) GoLimiteBasse->setEnabled(*gauge->lowerLimitButton);
  GoLimiteHaute->setEnabled(gauge->upperLimitButton);
  BarrePO->setBackColor(clWhite);
  BarrePO->setRange(gauge->minValue, gauge->maxValue);
  BarrePO->setProgress(xPosition);
  BarrePO->setForeColor(gauge->foreColor);
  Application->ProcessMessages();
}

void TForm1::TimerTrackBarTimer() {
  if (Focuser.isEmpty()) return;
  bool moving = false;
  try {
    moving = Focuser.IsMoving();
  } catch (const std::exception&) {
    // An error box every 250 ms would bury the window: the poll stops and says so once.
    TimerTrackBar->setEnabled(false);
    MemoLog->Add(kPollStopped);
    return;
  }
  // Between the moves of a target the motor rests for an instant; the
  // buttons follow the whole move.
  const bool inMotion = moving || moveUnderWay_;
  // An autofocus run rests the motor while it measures and waits: the stop
  // button stays usable, and the moves the run refuses look refused.
  const bool busy = inMotion || AutofocusUnderWay();
  BoutonSTOP->setEnabled(busy);
  EditFocuser->setColor(inMotion ? clLightRed : clWindow);
  BoutonRappelMAP->setEnabled(!busy);
  BoutonAVRapide->setEnabled(!busy);
  BoutonRERapide->setEnabled(!busy);
  Application->ProcessMessages();
}
