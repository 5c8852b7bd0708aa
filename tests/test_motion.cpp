#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>

#include "app_fixture.h"
#include "fake_ascom.h"

namespace {

const QString kTimedOut = QStringLiteral("Délai dépassé : le focuser n'a pas signalé la fin de son mouvement.");

class Motion : public ::testing::Test {
 protected:
  void SetUp() override {
    form = makeForm(p, false);
    form->Focuser = AutomationRef(driver);
    form->FocuserExists = true;
    form->FocMaxIncrement = 1000;
    driver->link = true;
  }

  std::vector<int> moveValues() const {
    std::vector<int> out;
    for (const Arg& a : driver->moves()) out.push_back(a.value.toInt());
    return out;
  }
  std::vector<Passing> movePassings() const {
    std::vector<Passing> out;
    for (const Arg& a : driver->moves()) out.push_back(a.passing);
    return out;
  }
  // Runs `action` once, at the event pass during which the driver has been
  // sent `moves` moves: a click arriving while the program waits.
  void whenMovesSent(size_t moves, std::function<void()> action) {
    p.time.onPass = [this, moves, action, done = false]() mutable {
      if (!done && driver->moves().size() == moves) {
        done = true;
        action();
      }
    };
  }
  // What the stop button does on a relative driver.
  void pressStopOnRelativeDriver() {
    Halt = true;
    form->StopMoves();
    form->Focuser.call(QStringLiteral("Halt"));
    form->xPosition = 0;
  }

  TestPlatform p;
  std::shared_ptr<RecordingFocuser> driver = std::make_shared<RecordingFocuser>();
  std::unique_ptr<TForm1> form;
};

using V = std::vector<int>;
using P = std::vector<Passing>;

// ---- Targets ----

TEST_F(Motion, ATargetOnAnAbsoluteDriverIsReachedInChunksEachFollowedByAWait) {
  driver->position = 500;
  driver->movingAnswers = 2;
  form->Moteur(3700, true);
  EXPECT_EQ(moveValues(), (V{1500, 2500, 3500, 3700}));
  EXPECT_EQ(movePassings(), P(4, Passing::VariantValue));
  EXPECT_EQ(form->xPosition, 3700);
  EXPECT_EQ(form->LabelPosition->text(), QStringLiteral("3700"));
  // Each move is sent only once the one before it has ended.
  const QStringList calls = driver->log.members();
  int lastMove = -1;
  for (int i = 0; i < calls.size(); ++i) {
    if (calls[i] != QLatin1String("Move")) continue;
    if (lastMove >= 0) EXPECT_EQ(calls.mid(lastMove, i - lastMove).count(QStringLiteral("IsMoving")), 3);
    lastMove = i;
  }
}

TEST_F(Motion, ATargetOnARelativeDriverIsSentAsStepCountsByValue) {
  driver->absolute = false;
  form->xPosition = 500;
  form->Moteur(3700, true);
  EXPECT_EQ(moveValues(), (V{1000, 1000, 1000, 200}));
  EXPECT_EQ(movePassings(), P(4, Passing::Value));
  EXPECT_EQ(driver->log.count(QStringLiteral("Position")), 0);
  EXPECT_EQ(form->xPosition, 3700);
}

TEST_F(Motion, ATargetBelowMovesDownwardsThroughout) {
  driver->absolute = false;
  form->xPosition = 3700;
  form->Moteur(500, true);
  EXPECT_EQ(moveValues(), (V{-1000, -1000, -1000, -200}));
  EXPECT_EQ(form->xPosition, 500);
}

TEST_F(Motion, ExactlyTwoChunksAwayEndsWithAMoveToWhereTheDriverStands) {
  form->Moteur(2000, true);
  EXPECT_EQ(moveValues(), (V{1000, 2000, 2000}));
  EXPECT_EQ(form->xPosition, 2000);
}

TEST_F(Motion, ExactlyOneChunkAwayIsOneMove) {
  form->Moteur(1000, true);
  EXPECT_EQ(moveValues(), (V{1000}));
}

TEST_F(Motion, TheCurrentPositionAsTargetSendsAMoveOfNothing) {
  driver->position = 1234;
  form->Moteur(1234, true);
  EXPECT_EQ(moveValues(), (V{1234}));
  EXPECT_EQ(form->xPosition, 1234);

  driver->absolute = false;
  form->Moteur(1234, true);
  EXPECT_EQ(driver->moves().back().value, Variant(0));
}

TEST_F(Motion, ALargestMoveBelowOneSendsTheTargetAsOneMove) {
  form->FocMaxIncrement = 0;
  driver->position = 500;
  form->Moteur(3700, true);
  EXPECT_EQ(moveValues(), (V{3700}));
  EXPECT_EQ(form->xPosition, 3700);
}

// ---- Step counts ----

TEST_F(Motion, AStepCountOnARelativeDriverIsTheCallersVariableByReference) {
  driver->absolute = false;
  form->xPosition = 100;
  form->Moteur(-150, false);
  EXPECT_EQ(moveValues(), (V{-150}));
  EXPECT_EQ(movePassings(), P{Passing::Reference});
  EXPECT_EQ(form->xPosition, -50);
  EXPECT_EQ(form->LabelPosition->text(), QStringLiteral("-50"));
}

TEST_F(Motion, AStepCountOnAnAbsoluteDriverKeepsThePositionReadOnceTheMotorStands) {
  driver->position = 1000;
  driver->movingAnswers = 5;  // Position reports the start until the move ends
  form->Moteur(40, false);
  EXPECT_EQ(moveValues(), (V{1040}));
  EXPECT_EQ(movePassings(), P{Passing::VariantValue});
  EXPECT_EQ(form->xPosition, 1040);
  EXPECT_EQ(form->LabelPosition->text(), QStringLiteral("1040"));
}

// ---- Stop, nesting, waits ----

TEST_F(Motion, AStopDuringATargetMoveSendsNoFurtherChunkAndKeepsTheRelativeCountAtZero) {
  driver->absolute = false;
  driver->movingAnswers = 4;
  form->xPosition = 500;
  whenMovesSent(2, [this] { pressStopOnRelativeDriver(); });
  form->Moteur(3700, true);
  EXPECT_EQ(moveValues(), (V{1000, 1000}));
  EXPECT_EQ(form->xPosition, 0);
  EXPECT_FALSE(form->MoveUnderWay());
}

TEST_F(Motion, AStopDuringTheLastMoveOfAnAbsoluteTargetKeepsWhereTheDriverHalted) {
  driver->position = 500;
  driver->movingAnswers = 4;
  whenMovesSent(4, [this] {
    form->StopMoves();
    form->Focuser.call(QStringLiteral("Halt"));
  });
  form->Moteur(3700, true);
  EXPECT_EQ(moveValues(), (V{1500, 2500, 3500, 3700}));
  EXPECT_EQ(driver->position, 3500);
  EXPECT_EQ(form->xPosition, 3500);
}

TEST_F(Motion, AStopMadeBeforeAMoveBeganDoesNotCutItShort) {
  Halt = true;
  form->StopMoves();
  driver->absolute = false;
  driver->movingAnswers = 1;
  form->Moteur(3700, true);
  EXPECT_EQ(moveValues(), (V{1000, 1000, 1000, 700}));
}

TEST_F(Motion, AMoveRequestedDuringAMoveIsNotNestedAndSlowStepsFollowInOrder) {
  driver->absolute = false;
  driver->movingAnswers = 2;
  bool underWay = false;
  whenMovesSent(1, [&] {
    underWay = form->MoveUnderWay();
    form->Moteur(9000, true);  // refused: a move is under way
    form->StepMoveInTurn(10);
    form->StepMoveInTurn(-10);
  });
  form->Moteur(1500, true);
  EXPECT_TRUE(underWay);
  EXPECT_EQ(moveValues(), (V{1000, 500, 10, -10}));
  EXPECT_EQ(form->xPosition, 1500);
  EXPECT_FALSE(form->MoveUnderWay());

  form->StepMoveInTurn(10);  // no move under way: at once
  EXPECT_EQ(moveValues().back(), 10);
}

TEST_F(Motion, AStopDropsTheSlowStepsWaitingTheirTurn) {
  driver->absolute = false;
  driver->movingAnswers = 2;
  whenMovesSent(1, [&] {
    form->StepMoveInTurn(10);
    pressStopOnRelativeDriver();
  });
  form->Moteur(1500, true);
  EXPECT_EQ(moveValues(), (V{1000}));
}

TEST_F(Motion, AnErrorFromTheDriverEndsTheMoveAndLeavesNoneUnderWay) {
  driver->raise[QStringLiteral("Move")] = [](InvokeKind) {
    throw AutomationError(QStringLiteral("Fake.Focuser"), QStringLiteral("Non connecté"), 3);
  };
  EXPECT_THROW(form->Moteur(100, false), AutomationError);
  EXPECT_FALSE(form->MoveUnderWay());
  driver->raise.clear();
  form->Moteur(100, false);
  EXPECT_EQ(driver->moves().size(), 2u);
}

TEST_F(Motion, ADriverThatNeverStopsIsGivenUpAfterFiveMinutesWithoutFloodingIt) {
  driver->movingAnswers = INT32_MAX;
  const uint32_t start = p.time.GetTickCount();
  form->Moteur(3700, true);
  EXPECT_EQ(moveValues(), (V{1000}));  // no further chunk after the time-out
  EXPECT_EQ(form->MemoLog->Lines().count(kTimedOut), 2);  // the move's wait, then the display's
  EXPECT_GE(p.time.GetTickCount() - start, 2 * 300000u);
  // One question per 50 ms pause.
  EXPECT_LE(driver->log.count(QStringLiteral("IsMoving")), 2 * 300000 / 50 + 4);
}

TEST_F(Motion, ADriverThatIgnoresTheStopIsGivenUpFiveSecondsAfterIt) {
  driver->movingAnswers = INT32_MAX;
  driver->raise[QStringLiteral("Halt")] = [](InvokeKind) {};
  uint32_t stoppedAt = 0;
  whenMovesSent(1, [&] {
    stoppedAt = p.time.GetTickCount();
    form->StopMoves();
  });
  form->FocuserExists = false;  // no display: only the move's wait
  form->Moteur(3700, true);
  EXPECT_EQ(form->MemoLog->Lines().count(kTimedOut), 1);
  EXPECT_NEAR(double(p.time.GetTickCount() - stoppedAt), 5000.0, 100.0);
}

TEST_F(Motion, ClosingTheProgramDuringAWaitEndsTheMoveWithNothingMoreSentOrShown) {
  driver->movingAnswers = 10;
  whenMovesSent(2, [] { Application->Terminate(); });
  form->Moteur(3700, true);
  EXPECT_EQ(moveValues(), (V{1000, 2000}));
  EXPECT_EQ(form->LabelPosition->text(), QString());
  const int asked = static_cast<int>(driver->log.calls.size());
  form->Moteur(100, false);  // a move asked once closing sends nothing
  EXPECT_EQ(static_cast<int>(driver->log.calls.size()), asked);
}

// ---- Position display ----

TEST_F(Motion, WithoutAnUpperLimitTheDisplayShowsOnlyThePosition) {
  for (auto [low, high] : {std::pair{0, 99999}, std::pair{3000, 2000}}) {
    form->xLimiteBasse = low;
    form->xLimiteHaute = high;
    form->GoLimiteBasse->setEnabled(true);
    form->GoLimiteHaute->setEnabled(false);
    form->xPosition = 2500;
    form->AfficheBarrePO();
    EXPECT_EQ(form->LabelPosition->text(), QStringLiteral("2500"));
    EXPECT_EQ(form->BarrePO->MaxValue(), 50000);
    EXPECT_TRUE(form->GoLimiteBasse->isEnabled());
    EXPECT_FALSE(form->GoLimiteHaute->isEnabled());
  }
}

TEST_F(Motion, WithoutALowerLimitTheGaugeRunsFromZeroAndItsButtonKeepsItsState) {
  form->xLimiteBasse = 0;
  form->xLimiteHaute = 4000;
  form->xPosition = 1000;
  form->GoLimiteBasse->setEnabled(false);
  form->BarrePO->setBackColor(clMaroon);
  form->AfficheBarrePO();
  EXPECT_EQ(form->BarrePO->MinValue(), 0);
  EXPECT_EQ(form->BarrePO->MaxValue(), 4000);
  EXPECT_EQ(form->BarrePO->text(), QStringLiteral("25%"));
  EXPECT_EQ(form->BarrePO->BackColor(), clWhite);
  EXPECT_EQ(form->BarrePO->ForeColor(), clNavy);
  EXPECT_FALSE(form->GoLimiteBasse->isEnabled());
  EXPECT_TRUE(form->GoLimiteHaute->isEnabled());
}

TEST_F(Motion, TheGaugeHoldsAPositionBeyondTheLimitsAtItsEnds) {
  form->xLimiteBasse = 1000;
  form->xLimiteHaute = 2000;
  form->xPosition = 2600;
  form->AfficheBarrePO();
  EXPECT_EQ(form->BarrePO->text(), QStringLiteral("100%"));
  EXPECT_TRUE(form->GoLimiteBasse->isEnabled());
  EXPECT_TRUE(form->GoLimiteHaute->isEnabled());
}

TEST_F(Motion, EqualLimitsWithThePositionOnThemShowNoneAndDisableBothButtons) {
  form->xLimiteBasse = form->xLimiteHaute = form->xPosition = 1500;
  form->GoLimiteBasse->setEnabled(true);
  form->GoLimiteHaute->setEnabled(true);
  form->AfficheBarrePO();
  EXPECT_EQ(form->BarrePO->text(), QStringLiteral("0%"));
  EXPECT_FALSE(form->GoLimiteBasse->isEnabled());
  EXPECT_FALSE(form->GoLimiteHaute->isEnabled());
}

TEST_F(Motion, TheGaugeIsGreenOnTheFocusPositionAlsoWhenNoneIsStoredAtZero) {
  form->xLimiteBasse = -500;
  form->xLimiteHaute = 500;
  form->xPositionMap = 0;
  form->xPosition = 0;
  form->AfficheBarrePO();
  EXPECT_EQ(form->BarrePO->ForeColor(), clGreen);
  EXPECT_EQ(form->BarrePO->text(), QStringLiteral("50%"));
  form->xPosition = -100;
  form->AfficheBarrePO();
  EXPECT_EQ(form->BarrePO->ForeColor(), clNavy);
  EXPECT_EQ(form->LabelPosition->text(), QStringLiteral("-100"));
}

TEST_F(Motion, TheDisplayChangesNothingWithoutALinkedDriver) {
  form->xPosition = 1234;
  driver->link = false;
  form->AfficheBarrePO();
  EXPECT_EQ(form->LabelPosition->text(), QString());
  form->FocuserExists = false;
  driver->log.calls.clear();
  form->AfficheBarrePO();
  EXPECT_TRUE(driver->log.calls.empty());
}

// ---- Motor poll ----

TEST_F(Motion, ThePollKeepsTheButtonsInStepWithTheMotor) {
  driver->movingAnswers = 1;
  form->Focuser.call(QStringLiteral("Move"), {{100, Passing::VariantValue}});
  form->TimerTrackBarTimer();
  EXPECT_TRUE(form->BoutonSTOP->isEnabled());
  EXPECT_EQ(form->EditFocuser->Color(), clLightRed);
  for (TSpeedButton* b : {form->BoutonRappelMAP, form->BoutonAVRapide, form->BoutonRERapide})
    EXPECT_FALSE(b->isEnabled());

  form->xPositionMap = 0;
  form->TimerTrackBarTimer();
  EXPECT_FALSE(form->BoutonSTOP->isEnabled());
  EXPECT_EQ(form->EditFocuser->Color(), clWindow);
  for (TSpeedButton* b : {form->BoutonRappelMAP, form->BoutonAVRapide, form->BoutonRERapide})
    EXPECT_TRUE(b->isEnabled());
}

TEST_F(Motion, APollErrorStopsThePollWithOneLogLineAndNoBox) {
  form->TimerTrackBar->setEnabled(true);
  driver->raise[QStringLiteral("IsMoving")] = [](InvokeKind) {
    throw AutomationError(QStringLiteral("Fake.Focuser"), QStringLiteral("Câble débranché"), 9);
  };
  emit form->TimerTrackBar->OnTimer();
  EXPECT_FALSE(form->TimerTrackBar->Enabled());
  EXPECT_EQ(form->MemoLog->Lines().count(QStringLiteral("Erreur du focuser : suivi du moteur arrêté.")), 1);
  EXPECT_TRUE(p.dialogs.shown.isEmpty());
}

TEST_F(Motion, ThePollAsksNothingWithoutADriverObject) {
  form->FocuserExists = false;
  form->TimerTrackBarTimer();
  EXPECT_TRUE(driver->log.calls.empty());
}

// ---- On the simulator ----

TEST(MotionOnSimulator, AStopMidwayLeavesTheSimulatorAndTheProgramAtTheSamePlace) {
  TestPlatform p;
  FocusSimSettings settings;
  settings.speed = 1000;
  settings.maxIncrement = 1000;
  settings.startPosition = 25000;
  auto sim = installSimulator(p, settings);
  auto form = makeForm(p, false);
  form->FocDriver = kFocusSimId;
  form->LitRegistre(true);
  ASSERT_TRUE(form->FocuserExists);
  ASSERT_TRUE(form->TimerTrackBar->Enabled());
  EXPECT_EQ(form->FocMaxIncrement, 1000);

  // The buttons the poll shows while the motor runs.
  struct Seen {
    bool stop, fastForward, recall;
  };
  std::vector<Seen> seen;
  const uint32_t t0 = p.time.GetTickCount();
  for (uint32_t t : {400u, 1400u}) {
    p.time.at(t0 + t, [&] {
      emit form->TimerTrackBar->OnTimer();
      seen.push_back({form->BoutonSTOP->isEnabled(), form->BoutonAVRapide->isEnabled(),
                      form->BoutonRappelMAP->isEnabled()});
    });
  }
  int positionAtStop = 0;
  p.time.at(t0 + 2500, [&] {
    // What the stop button does, during the third chunk.
    Halt = true;
    form->StopMoves();
    form->Focuser.call(QStringLiteral("Halt"));
    positionAtStop = sim->motor->position();
  });
  form->Moteur(28500, true);

  ASSERT_EQ(seen.size(), 2u);
  for (const Seen& s : seen) {
    EXPECT_TRUE(s.stop);
    EXPECT_FALSE(s.fastForward);
    EXPECT_FALSE(s.recall);
  }
  EXPECT_EQ(positionAtStop, 27500);
  EXPECT_FALSE(sim->motor->isMoving());
  // Moteur waits for each chunk it sends: a chunk after the stop would have moved it.
  EXPECT_EQ(sim->motor->position(), 27500);
  EXPECT_EQ(form->xPosition, 27500);
  EXPECT_EQ(form->LabelPosition->text(), QStringLiteral("27500"));
}

// The motor wait on the real event loop and clock: it must cost the CPU
// almost nothing while the simulator moves for two seconds.
TEST(MotionOnSimulator, AWaitForTheMotorSleepsBetweenItsQuestions) {
  TestPlatform p;
  SystemClock clock;
  QtEventPump pump;
  TApplication application(pump, p.dialogs);
  Application = &application;
  PlatformServices services{p.desktop, clock, p.dialogs, p.com, p.registry, *p.version, p.folder.path() + "/"};
  FocusSimSettings settings;
  settings.speed = 1000;
  auto motor = InstallAscomPlatform(p.com, p.dialogs, clock, AscomConfig{true, "6.0", {{kFocusSimId, "Sim"}}, settings},
                                    {});
  TForm1 form(services);
  Form1 = &form;
  form.FocDriver = kFocusSimId;
  form.LitRegistre(true);
  ASSERT_TRUE(form.FocuserExists);

  rusage before{}, after{};
  getrusage(RUSAGE_SELF, &before);
  const auto wallStart = std::chrono::steady_clock::now();
  form.Moteur(2000, false);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  getrusage(RUSAGE_SELF, &after);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  const double cpu = seconds(after.ru_utime) + seconds(after.ru_stime) - seconds(before.ru_utime) -
                     seconds(before.ru_stime);
  std::printf("motor wait: %.2f s wall, %.3f s CPU (%.1f %%)\n", wall, cpu, 100 * cpu / wall);
  EXPECT_EQ(motor->position(), 27000);
  EXPECT_GE(wall, 1.9);
  EXPECT_LT(cpu, 0.25 * wall);
  Application = p.application.get();
}

}  // namespace
