#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QSpinBox>
#include <QTimer>

#include "platform/clock.h"
#include "platform/focuser_sim.h"

namespace {

class Simulator : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.speed = 1000;
    settings.maxIncrement = 2000;
    settings.maxStep = 10000;
    settings.startPosition = 5000;
  }
  AutomationRef driver(std::function<void(FocusSimMotor&)> setup = {}) {
    if (!motor) motor = std::make_shared<FocusSimMotor>(clock, settings);
    return AutomationRef(std::make_shared<FocusSimDriver>(motor, std::move(setup)));
  }
  AutomationRef linked() {
    AutomationRef d = driver();
    d.put(QStringLiteral("Link"), true);
    return d;
  }
  int position(const AutomationRef& d) { return d.get(QStringLiteral("Position")).toInt(); }
  bool moving(const AutomationRef& d) { return d.get(QStringLiteral("IsMoving")).toBool(); }

  ManualClock clock{1000};
  FocusSimSettings settings;
  std::shared_ptr<FocusSimMotor> motor;
};

// Runs `fn` and returns the automation error it raised.
template <class F>
AutomationError automationErrorOf(F fn) {
  try {
    fn();
  } catch (const AutomationError& e) {
    return e;
  }
  ADD_FAILURE() << "no automation error";
  return AutomationError({}, {}, -1);
}

TEST_F(Simulator, AMoveTakesTimeAtTheSetSpeedAndEndsAtItsTarget) {
  AutomationRef d = linked();
  d.call(QStringLiteral("Move"), {{6500, Passing::VariantValue}});
  EXPECT_TRUE(moving(d));
  EXPECT_EQ(position(d), 5000);
  clock.advance(500);
  EXPECT_EQ(position(d), 5500);
  EXPECT_TRUE(moving(d));
  clock.advance(1000);
  EXPECT_EQ(position(d), 6500);
  EXPECT_FALSE(moving(d));
}

TEST_F(Simulator, HaltStopsTheMotorWhereItStands) {
  AutomationRef d = linked();
  d.call(QStringLiteral("Move"), {{3000, Passing::Value}});
  clock.advance(700);
  d.call(QStringLiteral("Halt"));
  EXPECT_FALSE(moving(d));
  clock.advance(5000);
  EXPECT_EQ(position(d), 4300);
}

TEST_F(Simulator, AMoveIsRefusedWhileNotLinked) {
  AutomationRef d = driver();
  const AutomationError e = automationErrorOf([&] { d.call(QStringLiteral("Move"), {{5100, Passing::Value}}); });
  EXPECT_EQ(e.source(), kFocusSimId);
  EXPECT_EQ(e.message(), QStringLiteral("Le focuser n'est pas connecté."));
  EXPECT_EQ(e.helpContext(), kFocusSimNotLinked);
  EXPECT_FALSE(moving(d));
}

TEST_F(Simulator, AMoveLargerThanTheLargestMoveIsRefused) {
  AutomationRef d = linked();
  const AutomationError e = automationErrorOf([&] { d.call(QStringLiteral("Move"), {{7001, Passing::Value}}); });
  EXPECT_EQ(e.helpContext(), kFocusSimMoveTooLarge);
  EXPECT_EQ(e.message(), QStringLiteral("Déplacement de 2001 pas refusé : le plus grand déplacement est de 2000 pas."));
  d.call(QStringLiteral("Move"), {{7000, Passing::Value}});
  EXPECT_TRUE(moving(d));
}

TEST_F(Simulator, TheEndStopsHoldTheMotorWithinItsTravel) {
  settings.maxIncrement = 100000;
  AutomationRef d = linked();
  d.call(QStringLiteral("Move"), {{-300, Passing::Value}});
  clock.advance(60000);
  EXPECT_EQ(position(d), 0);
  d.call(QStringLiteral("Move"), {{20000, Passing::Value}});
  clock.advance(60000);
  EXPECT_EQ(position(d), 10000);
}

TEST_F(Simulator, ARelativeFocuserMovesByStepCountsAndHasNoPosition) {
  settings.absolute = false;
  AutomationRef d = linked();
  EXPECT_FALSE(d.get(QStringLiteral("Absolute")).toBool());
  d.call(QStringLiteral("Move"), {{-1500, Passing::Reference}});
  clock.advance(2000);
  EXPECT_EQ(motor->position(), 3500);
  EXPECT_EQ(automationErrorOf([&] { d.get(QStringLiteral("Position")); }).helpContext(), kFocusSimNoPosition);
  EXPECT_EQ(automationErrorOf([&] { d.call(QStringLiteral("Move"), {{2001, Passing::Value}}); }).helpContext(),
            kFocusSimMoveTooLarge);
}

TEST_F(Simulator, ItsCapabilitiesAnswerInAnyLetterCaseAndAreReadOnly) {
  settings.stepSize = 7;
  AutomationRef d = driver();
  EXPECT_EQ(d.get(QStringLiteral("stepsize")).toInt(), 7);
  EXPECT_EQ(d.get(QStringLiteral("MAXINCREMENT")).toInt(), 2000);
  EXPECT_TRUE(d.get(QStringLiteral("Absolute")).toBool());
  EXPECT_FALSE(d.get(QStringLiteral("Link")).toBool());
  EXPECT_THROW(d.put(QStringLiteral("StepSize"), 3), Exception);
  try {
    d.get(QStringLiteral("Temperature"));
    FAIL();
  } catch (const AutomationError&) {
    FAIL() << "a missing member is not an error of the driver";
  } catch (const Exception& e) {
    EXPECT_EQ(e.helpContext(), 0);
  }
}

TEST_F(Simulator, TheMotorOutlivesItsDriverObjects) {
  linked().call(QStringLiteral("Move"), {{6000, Passing::Value}});
  clock.advance(1000);
  AutomationRef second = driver();
  EXPECT_FALSE(second.get(QStringLiteral("Link")).toBool());
  EXPECT_EQ(position(second), 6000);
}

TEST_F(Simulator, AMoveAcrossTheTickCountsWrapTakesItsUsualTime) {
  clock.set(0xFFFFFF00u);
  AutomationRef d = linked();
  d.call(QStringLiteral("Move"), {{6000, Passing::Value}});
  clock.advance(0x200);  // wraps to 0x100
  EXPECT_EQ(position(d), 5512);
}

TEST_F(Simulator, ParametersThatCannotRunAreBroughtToOnesThatCan) {
  settings.speed = 0;
  settings.maxStep = -5;
  settings.startPosition = 99;
  const FocusSimSettings s = settings.sanitized();
  EXPECT_EQ(s.speed, 1);
  EXPECT_EQ(s.maxStep, 1);
  EXPECT_EQ(s.startPosition, 1);
}

TEST_F(Simulator, SetupDialogOpensTheDriversOwnWindow) {
  FocusSimMotor* opened = nullptr;
  AutomationRef d = driver([&](FocusSimMotor& m) { opened = &m; });
  d.call(QStringLiteral("SetupDialog"));
  EXPECT_EQ(opened, motor.get());
}

// The real setup window, answered as a user would.
void answerSetup(std::function<void(QDialog&)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
  });
}

TEST(SimulatorSetup, OkKeepsTheEditedParameters) {
  FocusSimSettings s;
  answerSetup([](QDialog& d) {
    d.findChild<QCheckBox*>(QStringLiteral("absolute"))->setChecked(false);
    d.findChild<QSpinBox*>(QStringLiteral("speed"))->setValue(250);
    d.findChild<QSpinBox*>(QStringLiteral("maxIncrement"))->setValue(800);
    d.findChild<QSpinBox*>(QStringLiteral("stepSize"))->setValue(9);
    d.accept();
  });
  EXPECT_TRUE(runFocusSimSetupDialog(s));
  EXPECT_FALSE(s.absolute);
  EXPECT_EQ(s.speed, 250);
  EXPECT_EQ(s.maxIncrement, 800);
  EXPECT_EQ(s.stepSize, 9);
}

TEST(SimulatorSetup, CancelKeepsTheParametersAsTheyWere) {
  FocusSimSettings s;
  answerSetup([](QDialog& d) {
    d.findChild<QSpinBox*>(QStringLiteral("speed"))->setValue(250);
    d.reject();
  });
  EXPECT_FALSE(runFocusSimSetupDialog(s));
  EXPECT_EQ(s.speed, FocusSimSettings().speed);
}

}  // namespace
