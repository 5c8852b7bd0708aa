#pragma once
// The focuser driver as the program uses it: one typed call for each member it
// reaches, with the way each argument passes written here once. The calls stay
// late-bound by name, and whatever a call raises comes through unchanged: an
// AutomationError from the driver, a plain Exception for a member the driver
// lacks or for an empty reference.
#include "platform/automation.h"

class FocuserDriver {
 public:
  FocuserDriver() = default;
  explicit FocuserDriver(AutomationRef driver) : driver_(std::move(driver)) {}
  FocuserDriver& operator=(AutomationRef driver) {
    driver_ = std::move(driver);
    return *this;
  }

  bool isEmpty() const { return driver_.isEmpty(); }
  Dispatch* object() const { return driver_.object(); }

  // What the driver can do.
  bool Absolute() const;
  int StepSize() const;      // microns per step
  int MaxIncrement() const;  // largest single move, steps

  // The connection. Each write reaches the driver as it always has from its
  // place, since a driver may tell a variant from a Boolean:
  bool Link() const;
  void setLink(bool linked) const;  // connecting: a Boolean
  void toggleLink() const;          // the connect button: the negation of the link read, as a variant

  // The motor. Each kind of move reaches the driver as it always has, since a
  // driver may tell the three apart:
  void MoveToPositionPlus(int steps) const;  // an absolute driver: its Position now plus `steps`, as a variant
  void Move(int steps) const;                // a computed move: a 32-bit integer by value
  void MoveByReference(int steps) const;     // a step count: the caller's variable, by reference; not read back
  int Position() const;
  bool IsMoving() const;
  void Halt() const;

  // The driver's own settings window.
  void SetupDialog() const;

 private:
  AutomationRef driver_;
};
