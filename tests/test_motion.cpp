#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>

#include "app_fixture.h"
#include "fake_ascom.h"
#include "platform/clock_system.h"
#include "platform/event_pump_qt.h"

namespace {

using V = std::vector<int>;
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
  V moves() const {
    V out;
    for (const Arg& a : driver->moves()) out.push_back(a.value.toInt());
    return out;
  }
  // Runs `action` at the first event pass after the driver got `count` moves:
  // a click arriving while the program waits for the motor.
  void afterMoves(size_t count, std::function<void()> action) {
    p.time.onPass = [this, count, action, done = false]() mutable {
      if (!done && driver->moves().size() == count) done = true, action();
    };
  }
  void pressStopOnRelativeDriver() {  // what the stop button does
    form->StopMoves();
    form->Focuser.Halt();
    form->xPosition = 0;
  }

  TestPlatform p;
  std::shared_ptr<RecordingFocuser> driver = std::make_shared<RecordingFocuser>();
  std::unique_ptr<TForm1> form;
};

TEST_F(Motion, TargetsAreReachedInChunksOfTheLargestMoveEachWaitedFor) {
  struct Case {
    bool absolute;
    int from, to;
    V sent;
  };
  for (const Case& c : {Case{true, 500, 3700, {1500, 2500, 3500, 3700}}, Case{false, 500, 3700, {1000, 1000, 1000, 200}},
                        Case{false, 3700, 500, {-1000, -1000, -1000, -200}}, Case{true, 0, 2000, {1000, 2000, 2000}},
                        Case{true, 0, 1000, {1000}}, Case{true, 1234, 1234, {1234}}, Case{false, 1234, 1234, {0}}}) {
    SCOPED_TRACE(testing::Message() << c.absolute << " " << c.from << " -> " << c.to);
    driver->log.calls.clear();
    driver->absolute = c.absolute;
    driver->position = form->xPosition = c.from;
    driver->movingAnswers = 1;
    form->Moteur(c.to, true);
    EXPECT_EQ(moves(), c.sent);
    for (const Arg& a : driver->moves()) EXPECT_EQ(a.passing, c.absolute ? Passing::VariantValue : Passing::Value);
    EXPECT_EQ(form->xPosition, c.to);
    EXPECT_EQ(form->LabelPosition->text(), QString::number(c.to));
    // Every move is sent once the one before it has ended.
    QStringList calls;
    for (const RecordedCall& call : driver->log.calls) calls << call.member;
    EXPECT_EQ(calls.join(',').count(QStringLiteral("Move,IsMoving,IsMoving")), int(c.sent.size()));
  }
}

TEST_F(Motion, ALargestMoveBelowOneSendsTheTargetAsOneMove) {
  form->FocMaxIncrement = 0;
  driver->position = 500;
  form->Moteur(3700, true);
  EXPECT_EQ(moves(), V{3700});
}

TEST_F(Motion, StepCountsGoByReferenceToARelativeDriverAndAsATargetToAnAbsoluteOne) {
  driver->absolute = false;
  form->xPosition = 100;
  form->Moteur(-150, false);
  EXPECT_EQ(driver->moves().at(0).passing, Passing::Reference);
  EXPECT_EQ(form->LabelPosition->text(), QStringLiteral("-50"));

  driver->absolute = true;
  driver->position = 1000;
  driver->movingAnswers = 5;  // Position reports the start until the move ends
  form->Moteur(40, false);
  EXPECT_EQ(driver->moves().at(1).value, Variant(1040));
  EXPECT_EQ(driver->moves().at(1).passing, Passing::VariantValue);
  EXPECT_EQ(form->xPosition, 1040);
}

TEST_F(Motion, AStopSendsNoFurtherChunkAndTheRelativeCountStaysAtZero) {
  driver->absolute = false;
  driver->movingAnswers = 4;
  form->xPosition = 500;
  afterMoves(2, [this] { pressStopOnRelativeDriver(); });
  form->Moteur(3700, true);
  EXPECT_EQ(moves(), (V{1000, 1000}));
  EXPECT_EQ(form->xPosition, 0);

  form->Moteur(700, true);  // a stop made before a move never cuts it short
  EXPECT_EQ(moves(), (V{1000, 1000, 700}));
}

TEST_F(Motion, MovesAskedDuringAMoveAreNotNestedAndSlowStepsFollowInOrder) {
  driver->absolute = false;
  driver->movingAnswers = 2;
  afterMoves(1, [this] {
    EXPECT_TRUE(form->MoveUnderWay());
    form->Moteur(9000, true);  // refused
    form->StepMoveInTurn(10);
    form->StepMoveInTurn(-10);
  });
  form->Moteur(1500, true);
  EXPECT_EQ(moves(), (V{1000, 500, 10, -10}));
  EXPECT_EQ(form->xPosition, 1500);

  afterMoves(5, [this] {
    form->StepMoveInTurn(10);
    pressStopOnRelativeDriver();  // drops it
  });
  form->StepMoveInTurn(30);  // no move under way: at once
  EXPECT_EQ(moves(), (V{1000, 500, 10, -10, 30}));
  EXPECT_FALSE(form->MoveUnderWay());
}

TEST_F(Motion, ADriverErrorEndsTheMoveAndLeavesNoneUnderWay) {
  driver->raise[QStringLiteral("Move")] = [](InvokeKind) {
    throw AutomationError(QStringLiteral("Fake"), QStringLiteral("Non connecté"), 3);
  };
  EXPECT_THROW(form->Moteur(100, false), AutomationError);
  EXPECT_FALSE(form->MoveUnderWay());
}

TEST_F(Motion, ASilentDriverIsGivenUpOnceAfterFiveMinutesOrFiveSecondsAfterAStop) {
  driver->movingAnswers = INT32_MAX;  // and no Halt is sent: the motor never rests
  const uint32_t start = p.time.GetTickCount();
  form->Moteur(3700, true);  // the display included
  EXPECT_EQ(moves(), V{1000});
  EXPECT_EQ(form->MemoLog->Lines().count(kTimedOut), 1);
  EXPECT_EQ(p.time.GetTickCount() - start, 300000u);
  EXPECT_LE(driver->log.count(QStringLiteral("IsMoving")), 300000 / 50 + 7);  // one question per 50 ms

  uint32_t stopped = 0;
  afterMoves(2, [&] { stopped = p.time.GetTickCount(), form->StopMoves(); });
  form->Moteur(3700, true);
  EXPECT_EQ(p.time.GetTickCount() - stopped, 5000u);
  EXPECT_EQ(form->MemoLog->Lines().count(kTimedOut), 2);
}

TEST_F(Motion, ClosingTheProgramEndsAMoveWithNothingMoreSentOrShown) {
  driver->movingAnswers = 10;
  afterMoves(2, [] { Application->Terminate(); });
  form->Moteur(3700, true);
  EXPECT_EQ(moves(), (V{1000, 2000}));
  EXPECT_EQ(form->LabelPosition->text(), QString());
}

TEST_F(Motion, TheDisplayShowsThePositionAndTheGaugeBetweenSetLimits) {
  struct Case {
    int low, high, position, focus;
    QString percent;  // empty: the gauge and the buttons keep their state
    TColor fore;
    bool lowButton, highButton;  // both start enabled
  };
  for (const Case& c : {Case{0, 99999, 2500, 0, {}, 0, true, true}, Case{3000, 2000, 2500, 0, {}, 0, true, true},
                        Case{0, 4000, 1000, 0, "25%", clNavy, true, true},
                        Case{1000, 2000, 2600, 0, "100%", clNavy, true, true},
                        Case{1500, 1500, 1500, 0, "0%", clNavy, false, false},
                        Case{-500, 500, 0, 0, "50%", clGreen, true, true},
                        Case{1000, 2000, 1000, 2000, "0%", clNavy, false, true}}) {
    SCOPED_TRACE(testing::Message() << c.low << ".." << c.high << " at " << c.position);
    form->xLimiteBasse = c.low;
    form->xLimiteHaute = c.high;
    form->xPosition = c.position;
    form->xPositionMap = c.focus;
    form->GoLimiteBasse->setEnabled(true);
    form->GoLimiteHaute->setEnabled(true);
    form->BarrePO->setRange(0, 50000);
    form->BarrePO->setBackColor(clMaroon);
    form->AfficheBarrePO();
    EXPECT_EQ(form->LabelPosition->text(), QString::number(c.position));
    EXPECT_EQ(form->GoLimiteBasse->isEnabled(), c.lowButton);
    EXPECT_EQ(form->GoLimiteHaute->isEnabled(), c.highButton);
    if (c.percent.isEmpty()) {
      EXPECT_EQ(form->BarrePO->BackColor(), clMaroon);
      continue;
    }
    EXPECT_EQ(form->BarrePO->text(), c.percent);
    EXPECT_EQ(form->BarrePO->ForeColor(), c.fore);
    EXPECT_EQ(form->BarrePO->BackColor(), clWhite);
  }
  driver->link = false;
  form->xPosition = 77;
  form->AfficheBarrePO();
  EXPECT_NE(form->LabelPosition->text(), QStringLiteral("77"));
}

TEST_F(Motion, ThePollFollowsTheMotorAndStopsQuietlyOnAnError) {
  driver->movingAnswers = 1;
  form->Focuser.MoveToPositionPlus(100);  // from 0
  QList<bool> stop, fast;
  for (int tick = 0; tick < 2; ++tick) {
    form->TimerTrackBarTimer();
    stop << form->BoutonSTOP->isEnabled();
    fast << (form->BoutonAVRapide->isEnabled() && form->BoutonRERapide->isEnabled() &&
             form->BoutonRappelMAP->isEnabled());
  }
  EXPECT_EQ(stop, (QList<bool>{true, false}));
  EXPECT_EQ(fast, (QList<bool>{false, true}));
  EXPECT_EQ(form->EditFocuser->Color(), clWindow);

  form->TimerTrackBar->setEnabled(true);
  driver->raise[QStringLiteral("IsMoving")] = [](InvokeKind) {
    throw AutomationError(QStringLiteral("Fake"), QStringLiteral("Câble débranché"), 9);
  };
  emit form->TimerTrackBar->OnTimer();
  EXPECT_FALSE(form->TimerTrackBar->Enabled());
  EXPECT_EQ(form->MemoLog->Lines().count(QStringLiteral("Erreur du focuser : suivi du moteur arrêté.")), 1);
  EXPECT_TRUE(p.dialogs.shown.isEmpty());

  // Moves that fail at the driver before their first Move leave the poll to
  // the first one that gets through, which can be stopped.
  driver->raise.clear();
  driver->raise[QStringLiteral("Link")] = [](InvokeKind) {
    throw AutomationError(QStringLiteral("Fake"), QStringLiteral("Câble débranché"), 9);
  };
  for (int failed = 0; failed < 2; ++failed) EXPECT_THROW(form->Moteur(50, false), AutomationError);
  driver->raise.clear();
  driver->movingAnswers = 3;
  bool stoppable = false;
  afterMoves(driver->moves().size() + 1,
             [&] { stoppable = form->BoutonSTOP->isEnabled() && form->TimerTrackBar->Enabled(); });
  form->Moteur(50, false);
  EXPECT_TRUE(stoppable);
}

TEST(MotionOnSimulator, AMoveTakesTheMotorsTimeAndAStopMidwayLeavesTheSimulatorWhereItHalted) {
  TestPlatform p;
  FocusSimSettings settings;
  settings.maxIncrement = 1000;  // 1000 steps a second, from 25000
  auto motor = installSimulator(p, settings);
  auto form = makeForm(p, false);
  form->FocDriver = kFocusSimId;
  form->LitRegistre(true);
  ASSERT_TRUE(form->TimerTrackBar->Enabled());

  QList<bool> stopWhileMoving, fastWhileMoving;
  const uint32_t t0 = p.time.GetTickCount();
  for (uint32_t t : {400u, 1400u})
    p.time.at(t0 + t, [&] {
      emit form->TimerTrackBar->OnTimer();
      stopWhileMoving << form->BoutonSTOP->isEnabled();
      fastWhileMoving << form->BoutonAVRapide->isEnabled();
    });
  p.time.at(t0 + 2500, [&] {  // the stop button, during the third chunk
    form->StopMoves();
    form->Focuser.Halt();
  });
  form->Moteur(28500, true);
  EXPECT_EQ(stopWhileMoving, (QList<bool>{true, true}));
  EXPECT_EQ(fastWhileMoving, (QList<bool>{false, false}));
  // Moteur waits for each chunk it sends: a chunk after the stop would have moved it.
  EXPECT_EQ(motor->position(), 27500);
  EXPECT_EQ(form->xPosition, 27500);
  EXPECT_EQ(form->LabelPosition->text(), QStringLiteral("27500"));
  // In one-step chunks, each asked about at once, a target takes about the motor's time.
  FocusSimSettings oneStep = motor->settings();
  oneStep.maxIncrement = form->FocMaxIncrement = 1;
  motor->setSettings(oneStep);
  const uint32_t t1 = p.time.GetTickCount();
  form->Moteur(27600, true);
  EXPECT_LE(p.time.GetTickCount() - t1, 150u);  // the motor needs 100 ms
}

// On the real event loop and clock, a two-second wait costs next to no CPU.
TEST(MotionOnSimulator, AWaitForTheMotorSleepsBetweenItsQuestions) {
  TestPlatform p;
  SystemClock clock;
  QtEventPump pump;
  TApplication application(pump, p.dialogs);
  Application = &application;
  PlatformServices services{p.desktop, clock, p.dialogs, p.com, p.registry, *p.version, p.folder.path() + "/"};
  auto motor = InstallAscomPlatform(p.com, p.dialogs, clock, AscomConfig{}, {});
  TForm1 form(services);
  form.FocDriver = kFocusSimId;
  form.LitRegistre(true);

  rusage before{}, after{};
  getrusage(RUSAGE_SELF, &before);
  const auto start = std::chrono::steady_clock::now();
  form.Moteur(2000, false);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  getrusage(RUSAGE_SELF, &after);
  auto s = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  const double cpu = s(after.ru_utime) + s(after.ru_stime) - s(before.ru_utime) - s(before.ru_stime);
  std::printf("motor wait: %.2f s wall, %.3f s CPU\n", wall, cpu);
  EXPECT_EQ(motor->position(), 27000);
  EXPECT_LT(cpu, 0.25 * wall);
  Application = p.application.get();
}

}  // namespace
