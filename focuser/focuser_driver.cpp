#include "focuser/focuser_driver.h"

namespace {
const QString kAbsolute = QStringLiteral("Absolute");
const QString kStepSize = QStringLiteral("StepSize");
const QString kMaxIncrement = QStringLiteral("MaxIncrement");
const QString kLink = QStringLiteral("Link");
const QString kPosition = QStringLiteral("Position");
const QString kIsMoving = QStringLiteral("IsMoving");
const QString kMove = QStringLiteral("Move");
const QString kHalt = QStringLiteral("Halt");
const QString kSetupDialog = QStringLiteral("SetupDialog");
}  // namespace

bool FocuserDriver::Absolute() const { return driver_.get(kAbsolute).toBool(); }
int FocuserDriver::StepSize() const { return driver_.get(kStepSize).toInt(); }
int FocuserDriver::MaxIncrement() const { return driver_.get(kMaxIncrement).toInt(); }

bool FocuserDriver::Link() const { return driver_.get(kLink).toBool(); }
void FocuserDriver::setLink(bool linked) const { driver_.put(kLink, Arg{linked, Passing::Value}); }
void FocuserDriver::toggleLink() const { driver_.put(kLink, Arg{!Link(), Passing::VariantValue}); }

int FocuserDriver::Position() const { return driver_.get(kPosition).toInt(); }
bool FocuserDriver::IsMoving() const { return driver_.get(kIsMoving).toBool(); }

void FocuserDriver::MoveToPositionPlus(int steps) const {
  const Variant target = driver_.get(kPosition) + Variant(steps);
  driver_.call(kMove, {{target, Passing::VariantValue}});
}
void FocuserDriver::Move(int steps) const { driver_.call(kMove, {{steps, Passing::Value}}); }
void FocuserDriver::MoveByReference(int steps) const { driver_.call(kMove, {{steps, Passing::Reference}}); }
void FocuserDriver::Halt() const { driver_.call(kHalt); }

void FocuserDriver::SetupDialog() const { driver_.call(kSetupDialog); }
