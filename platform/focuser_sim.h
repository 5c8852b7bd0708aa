#pragma once
// The focuser simulator "FocusSim.Focuser": a driver that behaves like
// hardware. Its motor moves at a steady speed on a clock, so a move takes
// time, IsMoving stays true until the motor arrives, Position follows it, and
// Halt stops it where it stands. It refuses what a real focuser refuses: a
// move while not linked, a move larger than MaxIncrement, and the position of
// a focuser that only moves by relative steps.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/automation.h"

class Clock;
class QWidget;

inline const QString kFocusSimId = QStringLiteral("FocusSim.Focuser");

// The simulator's parameters, with their defaults.
struct FocusSimSettings {
  bool absolute = true;       // absolute positions; false: signed step counts
  int speed = 1000;           // steps per second
  int maxIncrement = 5000;    // largest single move, steps
  int maxStep = 50000;        // the travel runs from 0 to maxStep
  int stepSize = 5;           // microns per step
  int startPosition = 25000;  // where the motor stands when the simulator starts

  // The same parameters brought to values the motor can run with: a speed of
  // at least 1, a travel of at least 1, a start within the travel.
  FocusSimSettings sanitized() const;

  // The values each parameter may take, those the setup window offers; the
  // start must also lie within the travel.
  struct Bounds {
    int min;
    int max;
  };
  static constexpr Bounds kSpeedBounds{1, 1000000};
  static constexpr Bounds kMaxIncrementBounds{1, 10000000};
  static constexpr Bounds kMaxStepBounds{1, 10000000};
  static constexpr Bounds kStepSizeBounds{1, 10000};
  static constexpr Bounds kStartPositionBounds{0, 10000000};
};

// Help context numbers of the simulator's errors.
enum FocusSimErrorContext {
  kFocusSimNotLinked = 1,
  kFocusSimMoveTooLarge = 2,
  kFocusSimNoPosition = 3,
};

// The simulated hardware. Driver objects come and go (the program creates a
// new one at each connection); the motor stays where it stands.
class FocusSimMotor {
 public:
  FocusSimMotor(Clock& clock, const FocusSimSettings& settings);

  const FocusSimSettings& settings() const { return settings_; }
  // New parameters apply at once; a move under way goes on at the new speed.
  void setSettings(const FocusSimSettings& settings);

  int position();
  bool isMoving();
  // Starts a move to `target`, brought within the travel as the end stops do.
  void moveTo(qint64 target);
  void halt();

 private:
  void rebase();  // the move under way starts afresh from where it stands now
  Clock& clock_;
  FocusSimSettings settings_;
  int from_;
  int to_;
  uint32_t startTick_ = 0;
};

// One driver object over the motor.
class FocusSimDriver : public Dispatch {
 public:
  // The driver's own setup window, given the motor whose parameters it edits.
  using SetupUi = std::function<void(FocusSimMotor&)>;
  FocusSimDriver(std::shared_ptr<FocusSimMotor> motor, SetupUi setup);

  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) override;
  bool linked() const { return linked_; }

 private:
  void move(qint64 value);
  std::shared_ptr<FocusSimMotor> motor_;
  SetupUi setup_;
  bool linked_ = false;
};

// The simulator's setup window, a modal dialog over `settings`; true on OK,
// with `settings` changed, false on Cancel, with `settings` as it was.
bool runFocusSimSetupDialog(FocusSimSettings& settings, QWidget* parent = nullptr);
