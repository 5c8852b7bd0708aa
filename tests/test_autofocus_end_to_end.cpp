// Autofocus runs from the click of "Lance l'autofocus" to the closing box, on
// the focuser simulator and a synthetic star whose width follows it.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QTest>
#include <chrono>

#include "app_fixture.h"
#include "fake_ascom.h"
#include "measure/fwhm.h"
#include "platform/number_format.h"
#include "synthetic_star.h"
#include "virtual_timers.h"
#include "platform/clock_system.h"
#include "platform/event_pump_qt.h"

namespace {

const QPoint kStar(300, 300);             // away from the main window
constexpr int kSlowStep = 2 * 5;          // LowSpeed 2 x the simulator's 5 microns a step
constexpr int kFastStep = 3 * kSlowStep;  // HighSpeed 3
const QByteArray kSettings =
    "[Focuser]\r\nDriver=FocusSim.Focuser\r\n[Autofocus]\r\nTolerance=0\r\nDelai suivi=0\r\nTaille=40\r\n";

// The program on a platform (virtual or real time), the simulator starting at
// `start`, the star picked with a side of 40.
struct StarBench {
  StarBench(TestPlatform& p, PlatformServices& services, Clock& clock, int start, int speed = 1000) : p(p) {
    AscomConfig config;
    config.simulator.startPosition = start;
    config.simulator.speed = speed;
    motor = InstallAscomPlatform(p.com, p.dialogs, clock, config, {});
    noteSimulatorCalls(p, motor, driverNotes);
    p.writeIni(kSettings);
    form = std::make_unique<TForm1>(services);
    Form1 = form.get();
    form->FormCreate();
    form->show();  // reads the settings and links the simulator
    star = std::make_unique<SyntheticStar>(p.desktop, motor, kStar);
    form->CheckBox1->setChecked(true);
    p.desktop.cursor = kStar;
    p.desktop.leftButton = true;
    form->TimerSourisTimer();
    p.desktop.leftButton = false;
  }
  ~StarBench() { Form1 = nullptr; }

  // What the measurement gives with the focuser where it stands.
  double fwhmHere() {
    star->render();
    return mesureEtoile(p.desktop.screen.copy(QRect(OrigX, OrigY, 40, 40)), 40).fwhm;
  }
  QString box() const {
    const QStringList boxes = p.dialogs.texts(QStringLiteral("AscomMessageBox"));
    return boxes.isEmpty() ? QString() : boxes.last();
  }
  int moves() const { return driverNotes.size() - driverNotes.count(QStringLiteral("Halt")); }

  TestPlatform& p;
  std::shared_ptr<FocusSimMotor> motor;
  std::unique_ptr<TForm1> form;
  std::unique_ptr<SyntheticStar> star;
  QStringList driverNotes;
};

void expectEndsAtFocus(StarBench& b, int start) {
  const int end = b.motor->position();
  EXPECT_FALSE(b.motor->isMoving());
  EXPECT_TRUE(b.star->width(end) == b.star->curve.seeing || std::abs(end - b.star->curve.best) <= 2 * kSlowStep)
      << "ended at " << end;
  EXPECT_TRUE(b.box().endsWith(QStringLiteral("\n\rFWHM mesuré = ") + numfmt::Fixed3(b.fwhmHere(), 1)))
      << qPrintable(b.box());
  EXPECT_TRUE(b.box().startsWith(QStringLiteral("Autofocus terminé"))) << qPrintable(b.box());
  std::printf("start %d, end %d, best %d, %d moves, FWHM %.2f -> %.2f px\n", start, end, b.star->curve.best, b.moves(),
              b.star->width(start), b.fwhmHere());
}

}  // namespace

TEST(AutofocusEndToEnd, TheStarNarrowsByFivePercentASlowStepDownToTheSeeingFloor) {
  TestPlatform p;
  StarBench b(p, *p.services, p.time, 25000);
  QMap<int, double> measured;
  for (int offset = -120; offset <= 120; offset += kSlowStep) {
    b.motor->moveTo(25000 + offset);
    p.time.advance(1000);
    measured[offset] = b.fwhmHere();
  }
  for (int offset = 20; offset <= 120; offset += kSlowStep) {
    EXPECT_GT(measured[offset], 1.05 * measured[offset - kSlowStep]) << offset;
    EXPECT_GT(measured[-offset], 1.05 * measured[-offset + kSlowStep]) << offset;
  }
  EXPECT_EQ(measured[-10], measured[10]);  // the floor
  EXPECT_GE(measured[0], 4.0);
}

TEST(AutofocusEndToEnd, ARunFromEitherSideOfFocusEndsThereAndReportsTheFwhmMeasured) {
  for (int start : {25100, 24900, 25060}) {
    SCOPED_TRACE(start);
    TestPlatform p;
    StarBench b(p, *p.services, p.time, start);
    ASSERT_TRUE(b.form->BoutonAutofocus->isEnabled());
    const uint32_t t0 = p.time.GetTickCount();
    QTest::mouseClick(b.form->BoutonAutofocus, Qt::LeftButton);
    std::printf("virtual run time %u ms; ", p.time.GetTickCount() - t0);
    expectEndsAtFocus(b, start);
    EXPECT_FALSE(b.form->AutofocusUnderWay());
  }
}

TEST(AutofocusEndToEnd, AStopInTheMiddleHaltsTheMotorAndEndsTheRunWithNoFurtherMove) {
  for (int methode : {0, 1}) {
    SCOPED_TRACE(methode);
    TestPlatform p;
    StarBench b(p, *p.services, p.time, 25100, 100);  // a fast step takes 300 ms
    b.form->xMethode = methode;
    int haltedAt = -1;
    QStringList notesAtStop;
    bool clicked = false;  // the poll and the click serve events too
    p.time.onPass = [&] {
      if (clicked || b.moves() < 3 || !b.motor->isMoving()) return;
      clicked = true;
      emit b.form->TimerTrackBar->OnTimer();  // the poll keeps the button as it is during the run
      ASSERT_TRUE(b.form->BoutonSTOP->isEnabled());
      QTest::mouseClick(b.form->BoutonSTOP, Qt::LeftButton);
      EXPECT_FALSE(b.motor->isMoving());
      haltedAt = b.motor->position();
      notesAtStop = b.driverNotes;
    };
    QTest::mouseClick(b.form->BoutonAutofocus, Qt::LeftButton);
    ASSERT_GE(haltedAt, 0);
    EXPECT_EQ(notesAtStop.last(), QStringLiteral("Halt"));
    EXPECT_EQ(b.driverNotes, notesAtStop);
    EXPECT_EQ(b.motor->position(), haltedAt);
    EXPECT_EQ(b.box(), QStringLiteral("Autofocus interrompu.\n\rFWHM mesuré = ") + numfmt::Fixed3(b.fwhmHere(), 1));
    EXPECT_TRUE(b.form->MemoLog->Lines().contains(QStringLiteral("STOP demandé")));
    std::printf("method %d stopped at %d during move %d\n", methode, haltedAt, b.moves());
  }
}

TEST(AutofocusEndToEnd, AnIntraExtraRunFromEitherSideOfFocusEndsWithinHalfAFastStepOfTheBest) {
  struct Case {
    int start;
    bool pastFocusOnTheTolerance;  // the walk met the reference's width exactly, past focus
  };
  for (const Case& c : {Case{25100, false}, Case{24900, false}, Case{25060, true}, Case{24940, true},
                        Case{24850, false}, Case{25090, false}}) {
    SCOPED_TRACE(c.start);
    TestPlatform p;
    StarBench b(p, *p.services, p.time, c.start);
    b.form->xMethode = 1;
    const uint32_t t0 = p.time.GetTickCount();
    QTest::mouseClick(b.form->BoutonAutofocus, Qt::LeftButton);
    const int end = b.motor->position();
    EXPECT_FALSE(b.motor->isMoving());
    EXPECT_LE(std::abs(end - b.star->curve.best), kFastStep / 2) << "ended at " << end;
    EXPECT_EQ(b.form->xSortieTolerance, c.pastFocusOnTheTolerance);
    const QString first = c.pastFocusOnTheTolerance
                              ? QStringLiteral("Autofocus terminé sur variation inférieure à la tolérance.")
                              : QStringLiteral("Autofocus terminé.");
    EXPECT_EQ(b.box(), first + QStringLiteral("\n\rFWHM mesuré = ") + numfmt::Fixed3(b.fwhmHere(), 1));
    EXPECT_EQ(b.form->Memo1->Lines().last(),
              QStringLiteral("Dernière étape, fwhm = ") + numfmt::Fixed3(b.fwhmHere(), 2));
    std::printf("intra/extra: virtual run time %u ms; start %d, end %d, best %d, %d moves, FWHM %.2f -> %.2f px\n",
                p.time.GetTickCount() - t0, c.start, end, b.star->curve.best, b.moves(), b.star->width(c.start),
                b.fwhmHere());
  }
}

// Each prompt of the manual trigger switches picking on: a press held on the
// desktop from the first answer on picks nothing, and the run ends on its star.
TEST(AutofocusEndToEnd, APressOnTheDesktopDuringAManualRunPicksNothing) {
  TestPlatform p;
  StarBench b(p, *p.services, p.time, 25100);
  b.form->xManuel = true;
  b.form->xDelaiAutofocus = 1;
  VirtualTimers picking(p.time, {b.form->TimerSouris});
  p.dialogs.whileOpen = [&](const ScriptedDialogs::Shown&) {
    p.desktop.cursor = QPoint(100, 600);
    p.desktop.leftButton = true;
  };
  QTest::mouseClick(b.form->BoutonAutofocus, Qt::LeftButton);
  EXPECT_EQ(b.form->MemoLog->Lines().filter(QStringLiteral("Sélection étoile")).size(), 1);  // the bench's
  expectEndsAtFocus(b, 25100);
  EXPECT_TRUE(b.form->TimerSouris->Enabled());
}

// On the real clock and event loop: how long a run takes with no settle
// delay, and that its waits leave the CPU mostly idle.
TEST(AutofocusEndToEnd, ARunOnTheRealClockTakesAFewSecondsAndLittleCpu) {
  TestPlatform p;
  SystemClock clock;
  QtEventPump pump;
  TApplication application(pump, p.dialogs);
  Application = &application;
  PlatformServices services{p.desktop, clock, p.dialogs, p.com, p.registry, *p.version, p.folder.path() + "/"};
  {
    StarBench b(p, services, clock, 25100);
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const auto t0 = std::chrono::steady_clock::now();
    QTest::mouseClick(b.form->BoutonAutofocus, Qt::LeftButton);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    getrusage(RUSAGE_SELF, &after);
    auto s = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    const double cpu = s(after.ru_utime) + s(after.ru_stime) - s(before.ru_utime) - s(before.ru_stime);
    std::printf("real run time %.2f s, %.3f s CPU; ", wall, cpu);
    expectEndsAtFocus(b, 25100);
    EXPECT_LT(wall, 15.0);
    EXPECT_LT(cpu, 0.5 * wall);
  }
  Application = p.application.get();
}
