// The intra/extra-focal autofocus with a scripted sequence of FWHM values:
// the moves it sends, the lines it writes, where and how it ends.
#include <gtest/gtest.h>

#include <QTest>

#include "app_fixture.h"
#include "autofocus/intra_extra.h"
#include "autofocus_fixture.h"
#include "fake_ascom.h"
#include "measure/fwhm.h"
#include "platform/number_format.h"

namespace {

using V = std::vector<int>;  // fast steps are 2 x 3 x 5 = 30
constexpr int kDelaiMs = 3000;

struct IntraExtra : ::testing::Test {
  TestPlatform p;
  FakeAscom ascom;
  std::unique_ptr<TForm1> form = makeForm(p);
  std::shared_ptr<RecordingFocuser> driver = std::make_shared<RecordingFocuser>();
  QList<double> script;  // what each measurement gives, the starting one first
  struct Seen {
    bool autoFocus;
    uint32_t tick;
    bool heldAsAnOperation;
  };
  QList<Seen> seen;
  std::function<void(int)> duringMeasure;  // with the number of the measure, 0 the starting one
  uint32_t end = 0;                        // the clock when the run returned

  void SetUp() override {
    prepareAutofocus(*form, driver);
    ascom.install(p.com);
    form->xMethode = 1;
    form->xCible = 0.0;
    form->xTolerance = 3;
    form->xDelaiAutofocus = kDelaiMs / 1000;
    form->autofocusMeasure = [this](bool autoFocus) {
      seen << Seen{autoFocus, p.time.GetTickCount(), form->OperationUnderWay() && form->AutofocusUnderWay()};
      if (duringMeasure) duringMeasure(seen.size() - 1);
      if (script.isEmpty()) {
        ADD_FAILURE() << "no FWHM left in the script";
        Halt = true;
        return 50.0;
      }
      return script.takeFirst();
    };
  }

  // A run through "Lance l'autofocus"; the text of the box it ends with.
  QString run(QList<double> measures) {
    ascom.log.calls.clear();
    driver->log.calls.clear();
    form->MemoLog->clear();
    form->Memo1->clear();
    seen.clear();
    script = measures;
    form->BoutonAutofocusClick();
    end = p.time.GetTickCount();
    const auto boxes = ascom.boxes();
    return boxes.empty() ? QString() : boxes.back().args.at(0).value.toString();
  }
  V moves() const {
    V out;
    for (const Arg& a : driver->moves()) out.push_back(a.value.toInt());
    return out;
  }
  QStringList log() const { return form->MemoLog->Lines(); }
  QStringList debug() const { return form->Memo1->Lines(); }
  void clickStop() {
    emit form->TimerTrackBar->OnTimer();  // the motor poll, as it ticks during the run
    ASSERT_TRUE(form->BoutonSTOP->isEnabled());
    QTest::mouseClick(form->BoutonSTOP, Qt::LeftButton);
  }
};

}  // namespace

TEST(IntraExtraRules, TheLastMoveHalvesTheSpanBackwardsAndLimitsHoldOnlyWhenSet) {
  EXPECT_EQ(retourAuMilieu(0, -7), 3);
  EXPECT_EQ(retourAuMilieu(INT_MIN, INT_MAX), INT_MIN + 1);  // no overflow at the ends of the range

  EXPECT_FALSE(depasseLimite(1070, 30, 0, 1100));    // ending on the limit is allowed
  EXPECT_FALSE(depasseLimite(99990, 30, 0, 99999));  // 99999 is no limit
  EXPECT_FALSE(depasseLimite(10, -30, 0, 99999));    // nor is 0
  EXPECT_FALSE(depasseLimite(900, 30, 950, 99999));  // back toward the range from beyond it
}

TEST_F(IntraExtra, ACompletedWalkEndsMidwayBetweenTheReferenceAndWhereItEnded) {
  struct Case {
    const char* name;
    QList<double> measures;  // start, reference, start of the walk, the walk, the last step
    V sent;
    QString last;
  };
  for (const Case& c : {
           Case{"worse first: walks back",
                {10.0, 12.0, 9.0, 7.0, 5.0, 6.0, 8.0, 13.0, 4.567},
                {30, -30, -30, -30, -30, -30, -30, 90},
                "Dernière étape, fwhm = 4,57"},
           Case{"an equal FWHM reverses",
                {10.0, 10.0, 9.0, 11.0, 7.0},
                {30, -30, -30, 30},
                "Dernière étape, fwhm = 7,00"},
           Case{"no step: back half a step", {10.0, 8.0, 9.0, 8.5}, {30, 30, -15}, "Dernière étape, fwhm = 8,50"},
       }) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(run(c.measures), "Autofocus terminé.\n\rFWHM mesuré = " + numfmt::Fixed3(c.measures.last(), 1));
    EXPECT_EQ(moves(), c.sent);
    EXPECT_EQ(log(), (QStringList{"Lancement autofocus", "  +-- Intra/Extra"}));
    EXPECT_EQ(debug(), QStringList{c.last});
    // Every measure but the first waits the settle delay after its move; the
    // last one ends the run.
    for (int i = 1; i < seen.size(); ++i) EXPECT_GE(seen[i].tick - seen[i - 1].tick, uint32_t(kDelaiMs)) << i;
    EXPECT_LT(end - seen.last().tick, uint32_t(kDelaiMs));
    for (const Seen& s : seen) EXPECT_TRUE(s.autoFocus && s.heldAsAnOperation);
  }
  EXPECT_FALSE(form->OperationUnderWay());
  EXPECT_FALSE(form->TimerSouris->Enabled() || form->TimerSuivi->Enabled() || form->BoutonFocuserConnect->isEnabled());
}

TEST_F(IntraExtra, AStarAtOrBelowTheTargetIsHandedToTheSuccessiveApproaches) {
  struct Case {
    double cible, start;
    bool handedOver;
  };
  for (const Case& c : {Case{5.0, 5.0, true}, Case{5.0, 5.01, false}, Case{0.0, 0.5, false}}) {
    SCOPED_TRACE(testing::Message() << c.cible << " " << c.start);
    form->xCible = c.cible;
    if (c.handedOver) {
      run({c.start, 5.0, 4.0, 4.0});  // the approaches take their own starting measure
      EXPECT_EQ(log(), (QStringList{"Lancement autofocus", "  +-- Intra/Extra", "Lancement autofocus",
                                    "  +-- Approches", "fwhm ini = 5,0", "Autofocus terminé, fwhm = 4,0"}));
      EXPECT_EQ(moves(), (V{10, 10}));  // slow steps: the approaches' own
      EXPECT_FALSE(seen[1].autoFocus);
    } else {
      run({c.start, 0.4, 0.3, 0.6, 0.35});
      EXPECT_EQ(log(), (QStringList{"Lancement autofocus", "  +-- Intra/Extra"}));
      EXPECT_EQ(moves(), (V{30, 30, 30, -30}));
    }
  }
}

TEST_F(IntraExtra, TheWalkEndsOnTheToleranceOfTheReferenceWhereItStandsBeforeFocus) {
  // Reference 4.0, then 3.9 (D = 2.56): within 3.
  EXPECT_EQ(run({5.0, 4.0, 3.95, 3.9}),
            QStringLiteral("Autofocus terminé sur variation inférieure à la tolérance.\n\rFWHM mesuré = 3,9"));
  EXPECT_EQ(moves(), (V{30, 30, 30}));
  EXPECT_EQ(debug(), QStringList{"sortie sur écart < tolérance ini : 4, calculé : 3,9"});
  EXPECT_TRUE(form->LabelMesure->isHidden() && form->LabelChrono->isHidden());

  // Reference 5.0, then 4.0 (D = 25): the walk goes on.
  run({6.0, 5.0, 4.5, 4.0, 5.5, 4.4});
  EXPECT_EQ(moves(), (V{30, 30, 30, 30, -45}));
  EXPECT_FALSE(form->xSortieTolerance);
  EXPECT_EQ(debug().size(), 1);  // the last step's line only

  // A negative tolerance, from a hand-edited file, still ends on an equal FWHM.
  form->xTolerance = -4;
  run({6.0, 5.0, 5.0, 5.0});
  EXPECT_EQ(moves(), (V{30, 30, 30}));
  EXPECT_TRUE(form->xSortieTolerance);
}

TEST_F(IntraExtra, AnExitOnTheTolerancePastFocusGoesBackMidwayAlongTheWalk) {
  for (QChar separator : {QLatin1Char(','), QLatin1Char('.')}) {
    numfmt::SetDecimalSeparator(separator);
    const QString s(separator);
    const QString box = run({6.0, 4.0 / 3, 1.32, 1.0, 1.2, 1.3, 1.06});  // 1.3 after 1.0 is past focus
    EXPECT_EQ(moves(), (V{30, 30, 30, 30, 30, -60}));
    EXPECT_EQ(debug(),
              (QStringList{"sortie sur écart < tolérance ini : 1" + s + "33333333333333, calculé : 1" + s + "3",
                           "Dernière étape, fwhm = 1" + s + "06"}));
    EXPECT_GE(seen.last().tick - seen[seen.size() - 2].tick, uint32_t(kDelaiMs));
    EXPECT_EQ(box, QStringLiteral("Autofocus terminé sur variation inférieure à la tolérance.\n\rFWHM mesuré = 1") +
                       separator + QStringLiteral("1"));
  }
}

TEST_F(IntraExtra, AWalkThatNeverComesBackEndsAtATravelLimitOrAfterItsLargestNumberOfSteps) {
  form->xLimiteBasse = 0;  // no limits
  form->xLimiteHaute = 99999;
  QList<double> narrower{6.0, 5.0};
  for (int i = 0; i <= kPasDeMarcheMaximal; ++i) narrower << 4.0;  // D = 25 each time
  EXPECT_EQ(run(narrower), QStringLiteral("Autofocus interrompu.\n\rAutofocus arrêté : nombre de pas maximal "
                                          "atteint.\n\rFWHM mesuré = 4,0"));
  EXPECT_EQ(int(moves().size()), 2 + kPasDeMarcheMaximal);
  EXPECT_EQ(log().last(), QStringLiteral("Autofocus arrêté : nombre de pas maximal atteint."));
  EXPECT_TRUE(debug().isEmpty());

  struct Case {
    int position, lower, upper;
    QList<double> measures;
    V sent;
    QString fwhm;
  };
  for (const Case& c : {Case{1000, 0, 1100, {6.0, 5.0, 4.0, 4.1}, {30, 30, 30}, "4,1"},
                        Case{1000, 950, 99999, {6.0, 7.0, 6.5, 6.2}, {30, -30, -30}, "6,2"},
                        Case{1090, 0, 1100, {6.0}, {}, "6,0"}}) {  // not even the first step
    SCOPED_TRACE(c.position);
    form->xPosition = c.position;
    form->xLimiteBasse = c.lower;
    form->xLimiteHaute = c.upper;
    EXPECT_EQ(run(c.measures), "Autofocus interrompu.\n\rAutofocus arrêté : limite de course atteinte.\n\r"
                               "FWHM mesuré = " + c.fwhm);
    EXPECT_EQ(moves(), c.sent);
    EXPECT_EQ(log().last(), QStringLiteral("Autofocus arrêté : limite de course atteinte."));
  }
}

TEST_F(IntraExtra, AStopOrAnAbandonedPromptEndsTheRunWithNoFurtherMove) {
  // Complete: 30, -30, then -30 five times, and 90 back.
  const QList<double> walk{10.0, 12.0, 9.0, 7.0, 5.0, 6.0, 8.0, 13.0, 4.6};
  enum When { DuringMeasure, DuringDelay, DuringMove, Abandoned };
  struct Case {
    When when;
    int at;  // the measure (0 the starting one), or the move (1 the first)
    double cible;
    int movesSent, measuresTaken;
    QString fwhm;
  };
  for (const Case& c : {Case{DuringMeasure, 0, 0.0, 0, 1, "10,0"},
                        Case{DuringMeasure, 0, 20.0, 0, 1, "10,0"},  // and no hand-over either
                        Case{DuringMeasure, 3, 0.0, 3, 4, "7,0"}, Case{DuringDelay, 2, 0.0, 3, 4, "7,0"},
                        Case{DuringMove, 4, 0.0, 4, 5, "5,0"}, Case{DuringMove, 8, 0.0, 8, 9, "4,6"},  // the last move
                        Case{Abandoned, 3, 0.0, 3, 4, "9,0"}, Case{Abandoned, 0, 0.0, 0, 1, ""}}) {
    SCOPED_TRACE(testing::Message() << c.when << " " << c.at);
    form->xCible = c.cible;
    driver->movingAnswers = c.when == DuringMove ? 5 : 0;
    duringMeasure = [&](int n) {
      if (n != c.at) return;
      if (c.when == DuringMeasure) clickStop();
      // Scheduled a second on: inside the settle delay after the next move.
      if (c.when == DuringDelay) p.time.at(p.time.GetTickCount() + 1000, [this] { clickStop(); });
      if (c.when == Abandoned) Halt = true;  // as the prompt does
    };
    bool clicked = false;
    p.time.onPass = [&] {
      if (c.when != DuringMove || clicked || int(driver->moves().size()) != c.at || !form->MoveUnderWay()) return;
      clicked = true;
      clickStop();
    };
    QList<double> measures = walk;
    if (c.when == Abandoned) measures[c.at] = kFwhmAbandon;
    const QString box = run(measures);
    p.time.onPass = nullptr;
    EXPECT_EQ(int(moves().size()), c.movesSent);
    EXPECT_EQ(int(seen.size()), c.measuresTaken);
    EXPECT_EQ(box, c.fwhm.isEmpty() ? QStringLiteral("Autofocus interrompu.")
                                    : QStringLiteral("Autofocus interrompu.\n\rFWHM mesuré = ") + c.fwhm);
    EXPECT_EQ(log().filter(QStringLiteral("Approches")).size(), 0);
    EXPECT_TRUE(debug().isEmpty());
    EXPECT_EQ(driver->log.count(QStringLiteral("Halt")), c.when == Abandoned ? 0 : 1);
  }
  duringMeasure = nullptr;
}

TEST_F(IntraExtra, ClosingDuringARunEndsItWithNoFurtherMoveLineOrBox) {
  duringMeasure = [](int n) {
    if (n == 3) Application->Terminate();
  };
  EXPECT_EQ(run({10.0, 12.0, 9.0, 7.0}), QString());  // no box
  EXPECT_EQ(moves(), (V{30, -30, -30}));
  EXPECT_TRUE(debug().isEmpty());
}
