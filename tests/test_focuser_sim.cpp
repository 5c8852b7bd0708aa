#include <gtest/gtest.h>


#include "platform/clock.h"
#include "platform/focuser_sim.h"
#include "manual_clock.h"

namespace {

class Simulator : public ::testing::Test {
 protected:
  Simulator() {
    settings.maxIncrement = 2000;  // 1000 steps a second
    settings.maxStep = 10000;
    settings.startPosition = 5000;
  }
  AutomationRef driver(bool link = true) {
    if (!motor) motor = std::make_shared<FocusSimMotor>(clock, settings);
    AutomationRef d(std::make_shared<FocusSimDriver>(motor, [this](FocusSimMotor& m) { setupFor = &m; }));
    d.put(QStringLiteral("Link"), link);
    return d;
  }
  void move(const AutomationRef& d, int value) { d.call(QStringLiteral("Move"), {{value, Passing::Value}}); }
  int position(const AutomationRef& d) { return d.get(QStringLiteral("Position")).toInt(); }
  bool moving(const AutomationRef& d) { return d.get(QStringLiteral("IsMoving")).toBool(); }
  // The help context of the automation error that `fn` raises.
  template <class F>
  int refusal(F fn) {
    try {
      fn();
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.source(), kFocusSimId);
      return e.helpContext();
    }
    return -1;
  }

  ManualClock clock{1000};
  FocusSimSettings settings;
  std::shared_ptr<FocusSimMotor> motor;
  FocusSimMotor* setupFor = nullptr;
};

TEST_F(Simulator, AMoveTakesTimeAtTheSetSpeedAndHaltStopsItWhereItStands) {
  AutomationRef d = driver();
  move(d, 6500);
  clock.advance(500);
  EXPECT_EQ(position(d), 5500);
  EXPECT_TRUE(moving(d));
  clock.advance(1000);
  EXPECT_EQ(position(d), 6500);
  EXPECT_FALSE(moving(d));

  move(d, 5000);
  clock.advance(700);
  d.call(QStringLiteral("Halt"));
  clock.advance(5000);
  EXPECT_FALSE(moving(d));
  EXPECT_EQ(position(d), 5800);
  EXPECT_EQ(position(driver(false)), 5800);  // the motor outlives its driver objects
}

TEST_F(Simulator, ItRefusesWhatAFocuserRefuses) {
  EXPECT_EQ(refusal([&] { move(driver(false), 5100); }), kFocusSimNotLinked);
  AutomationRef d = driver();
  EXPECT_EQ(refusal([&] { move(d, 7001); }), kFocusSimMoveTooLarge);
  move(d, 7000);
  EXPECT_TRUE(moving(d));
  EXPECT_THROW(d.put(QStringLiteral("StepSize"), 3), Exception);
}

TEST_F(Simulator, ARelativeFocuserMovesByStepCountsAndHasNoPosition) {
  settings.absolute = false;
  AutomationRef d = driver();
  move(d, -1500);
  clock.advance(2000);
  EXPECT_EQ(motor->position(), 3500);
  EXPECT_EQ(refusal([&] { position(d); }), kFocusSimNoPosition);
  EXPECT_EQ(refusal([&] { move(d, 2001); }), kFocusSimMoveTooLarge);
}

TEST_F(Simulator, TheEndStopsHoldItWithinItsTravelAndTheTickCountMayWrap) {
  settings.maxIncrement = 0;  // no largest move
  clock.set(0xFFFFFF00u);
  AutomationRef d = driver();
  move(d, 20000);
  clock.advance(0x200);  // wraps to 0x100
  EXPECT_EQ(position(d), 5512);
  clock.advance(60000);
  EXPECT_EQ(position(d), 10000);
  d.call(QStringLiteral("SetupDialog"));
  EXPECT_EQ(setupFor, motor.get());
}

}  // namespace
