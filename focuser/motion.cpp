// The motion routine, the position display and the motor poll.
#include <algorithm>
#include <optional>

#include "app/Unit1.h"
#include "focuser/motion_plan.h"
#include "focuser/travel_gauge.h"
#include "platform/application.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "app/running_operation.h"

namespace {

// The waits for the motor ask IsMoving every this often, so the driver gets
// a few questions a second and the window its events. Within the first period
// the questions come at 0, 1, 3, 7, 15 and 31 ms, so that a short move ends
// about when the motor stops.
constexpr uint32_t kMotorPollPauseMs = 50;
// A driver that has not reported the end of a move after this long is given up...
constexpr uint32_t kMotorWaitTimeoutMs = 5 * 60 * 1000;
// ...and so is one that still moves this long after the user pressed STOP.
constexpr uint32_t kHaltWaitTimeoutMs = 5000;

const QString kWaitTimedOut = QStringLiteral("Délai dépassé : le focuser n'a pas signalé la fin de son mouvement.");
// The slow-move buttons stay usable with no driver object.
const QString kNoFocuser = QStringLiteral("Aucun focuser n'est en service : le mouvement n'est pas envoyé");
const QString kPollStopped = QStringLiteral("Erreur du focuser : suivi du moteur arrêté.");
const QString kTargetMissed = QStringLiteral("Position atteinte %1 au lieu de %2.");

enum class MotorWait { AtRest, TimedOut, Closing };

// The time limits of the waits of one move: each wait gives up once the Move
// it waits for was sent too long ago, and a stop seen by one wait bounds
// every wait after it, so that no wait starts the clock again.
class MoveWaits {
 public:
  MoveWaits(Clock& clock, const unsigned& stopCount)
      : clock_(clock), stopCount_(stopCount), stopsBefore_(stopCount), since_(clock.GetTickCount()) {}
  bool stopped() const { return stopCount_ != stopsBefore_; }
  void moveSent() { since_ = clock_.GetTickCount(); }
  bool givenUp() {
    const uint32_t now = clock_.GetTickCount();
    if (!stopSeen_ && stopped()) stopSeen_ = now;
    return now - since_ >= kMotorWaitTimeoutMs || (stopSeen_ && now - *stopSeen_ >= kHaltWaitTimeoutMs);
  }

 private:
  Clock& clock_;
  const unsigned& stopCount_;
  const unsigned stopsBefore_;
  uint32_t since_;
  std::optional<uint32_t> stopSeen_;
};

// Waits until the driver reports the motor at rest. Right after a Move
// (`afterMove`) the window's pending events are served before the first
// question, which comes at once.
MotorWait waitForMotor(TForm1& form, bool afterMove, MoveWaits& waits) {
  if (afterMove) {
    Application->ProcessMessages();
    if (Application->Terminated()) return MotorWait::Closing;
  }
  for (uint32_t asked = 0;;) {  // when the last question came, from the wait's start
    if (!form.Focuser.IsMoving()) return MotorWait::AtRest;
    if (waits.givenUp()) {
      form.MemoLog->Add(kWaitTimedOut);
      return MotorWait::TimedOut;
    }
    const uint32_t next =
        asked < kMotorPollPauseMs ? std::min(2 * asked + 1, kMotorPollPauseMs) : asked + kMotorPollPauseMs;
    Application->pump().WaitForEvents(static_cast<int>(next - asked));
    asked = next;
    if (Application->Terminated()) return MotorWait::Closing;
  }
}

// An absolute focuser's move has ended: the program takes the position the
// driver reports, since a target beyond the travel stops the motor at its end.
// A move that ran its course and still stands elsewhere is logged.
void takeReportedPosition(TForm1& f, int target, bool ranItsCourse) {
  f.xPosition = f.Focuser.Position();
  if (ranItsCourse && f.xPosition != target) f.MemoLog->Add(kTargetMissed.arg(f.xPosition).arg(target));
}

// The position display. It waits for the motor within `waits`; with none,
// the motor was given up and it shows at once what the program knows.
void showPosition(TForm1& f, MoveWaits* waits) {
  if (f.Focuser.isEmpty()) return;
  if (!f.Focuser.Link()) return;
  if (waits && waitForMotor(f, false, *waits) == MotorWait::Closing) return;
  f.LabelPosition->setText(QString::number(f.xPosition));
  const std::optional<TravelGauge> gauge = travelGauge(f.xPosition, f.xLimiteBasse, f.xLimiteHaute, f.xPositionMap);
  if (!gauge) return;
  if (gauge->lowerLimitButton) f.GoLimiteBasse->setEnabled(*gauge->lowerLimitButton);
  f.GoLimiteHaute->setEnabled(gauge->upperLimitButton);
  f.BarrePO->setBackColor(clWhite);
  f.BarrePO->setRange(gauge->minValue, gauge->maxValue);
  f.BarrePO->setProgress(f.xPosition);
  f.BarrePO->setForeColor(gauge->foreColor);
  Application->ProcessMessages();
}

}  // namespace

void TForm1::StopMoves() {
  ++stopCount_;
  stepsInTurn_.clear();
}

bool TForm1::MoveHasEnded() const {
  if (!moveUnderWay_ || !lastMoveSent_ || !stepsInTurn_.isEmpty()) return false;
  try {
    return !Focuser.IsMoving();
  } catch (const std::exception&) {
    return false;  // a driver that cannot say may still be moving
  }
}

int TForm1::StandingPosition() const {
  if (Focuser.isEmpty() || !Focuser.Link() || !Focuser.Absolute()) return xPosition;
  return Focuser.Position();
}

void TForm1::StepMoveInTurn(int steps) {
  if (!moveUnderWay_)
    Moteur(steps, false);
  else if (!closeAfterMove_)  // a close waits for the move under way, not for more
    stepsInTurn_.append(steps);
}

void TForm1::Moteur(int Pos, bool IsAbs) {
  // Clicks arrive inside a move's waits; the buttons refuse or queue theirs
  // before coming here, so a move never starts inside another.
  if (moveUnderWay_ || Application->Terminated()) return;
  if (Focuser.isEmpty()) throw Exception(kNoFocuser);
  // A poll stopped by a driver error comes back with the next move, while
  // the link holds. Only an answer clears the mark: a move whose question
  // fails leaves the poll to the next.
  if (pollFailed_) {
    TimerTrackBar->setEnabled(Focuser.Link());
    pollFailed_ = false;
  }
  moveUnderWay_ = true;
  moveGivenUp_ = false;
  // Every move can be stopped, whether the poll runs or not; at rest the poll
  // disables STOP, and without the poll the move's end does.
  BoutonSTOP->setEnabled(true);
  const auto ended = [this] {
    moveUnderWay_ = false;
    if (!TimerTrackBar->Enabled() && !AutofocusUnderWay()) BoutonSTOP->setEnabled(false);
  };
  // An OK of the settings dialog given during the move waits for its end.
  const RunningOperation operation(*this);
  try {
    moveOnce(Pos, IsAbs);
    while (!stepsInTurn_.isEmpty() && !Application->Terminated()) moveOnce(stepsInTurn_.takeFirst(), false);
  } catch (...) {
    ended();
    stepsInTurn_.clear();
    throw;
  }
  ended();
}

void TForm1::moveOnce(int Pos, bool IsAbs) {
  MoveWaits waits(platform_.clock, stopCount_);
  lastMoveSent_ = false;
  const auto waitAfterMove = [this, &waits] {
    waits.moveSent();
    return waitForMotor(*this, true, waits);
  };

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
      end = waitAfterMove();
      if (end == MotorWait::Closing) return;
      cut = end == MotorWait::TimedOut || waits.stopped();
    }
    if (!cut) {
      absolute = Focuser.Absolute();
      if (absolute) {
        Focuser.MoveToPositionPlus(plan.last);
      } else {
        Focuser.Move(plan.last);
        xPosition = Pos;
      }
      lastMoveSent_ = true;
      end = waitAfterMove();
      if (end == MotorWait::Closing) return;
    }
    // A relative count already says what was sent, and a stop has set it to 0
    // since; an absolute driver tells where the move left it.
    if (absolute) takeReportedPosition(*this, Pos, !cut && !waits.stopped() && end == MotorWait::AtRest);
  } else if (absolute) {
    const int target = addSteps(xPosition, Pos);
    Focuser.MoveToPositionPlus(Pos);
    lastMoveSent_ = true;
    end = waitAfterMove();
    if (end == MotorWait::Closing) return;
    // Read once the motor stands: right after the command a driver reports
    // where it started from.
    takeReportedPosition(*this, target, !waits.stopped() && end == MotorWait::AtRest);
  } else {
    Focuser.MoveByReference(Pos);
    xPosition = addSteps(xPosition, Pos);
    lastMoveSent_ = true;
    end = waitAfterMove();
    if (end == MotorWait::Closing) return;
  }
  // A driver that does not report the end of its moves gets no queued moves,
  // and no second wait in the display.
  if (end == MotorWait::TimedOut) {
    moveGivenUp_ = true;
    stepsInTurn_.clear();
  }
  showPosition(*this, end == MotorWait::TimedOut ? nullptr : &waits);
}

void TForm1::AfficheBarrePO() {
  MoveWaits waits(platform_.clock, stopCount_);
  showPosition(*this, &waits);
}

void TForm1::TimerTrackBarTimer() {
  if (Focuser.isEmpty()) return;
  bool moving = false;
  try {
    moving = Focuser.IsMoving();
  } catch (const std::exception&) {
    // An error box every 250 ms would bury the window: the poll stops and says so once.
    TimerTrackBar->setEnabled(false);
    pollFailed_ = true;
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
