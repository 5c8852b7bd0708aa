// The successive-approaches autofocus with a scripted sequence of FWHM
// values: the moves it sends, the lines it logs, where it stops.
#include <gtest/gtest.h>

#include <QTest>

#include "app_fixture.h"
#include "autofocus/approches.h"
#include "autofocus_fixture.h"
#include "fake_ascom.h"
#include "platform/number_format.h"

namespace {

using V = std::vector<int>;

struct Approches : ::testing::Test {
  TestPlatform p;
  std::unique_ptr<TForm1> form = makeForm(p);
  std::shared_ptr<RecordingFocuser> driver = std::make_shared<RecordingFocuser>();
  QList<double> script;  // what each measurement gives, the starting one first
  struct Seen {
    bool autoFocus;
    QString phase, counter;
    bool counterShown;
    int passes;
    bool heldAsAnOperation;  // so an OK of the settings dialog waits for the run
  };
  QList<Seen> seen;
  std::function<void(int)> duringMeasure;  // with the number of the measure, 0 the starting one

  void SetUp() override {
    prepareAutofocus(*form, driver);
    form->xDelaiAutofocus = 3;
    form->autofocusMeasure = [this](bool autoFocus) {
      seen << Seen{autoFocus,
                   form->Label1->text(),
                   form->LabelMesure->text(),
                   form->LabelMesure->isVisible(),
                   p.time.passes,
                   form->OperationUnderWay()};
      if (duringMeasure) duringMeasure(seen.size() - 1);
      if (script.isEmpty()) {
        ADD_FAILURE() << "no FWHM left in the script";
        Halt = true;
        return 50.0;
      }
      return script.takeFirst();
    };
  }

  V moves() const {
    V out;
    for (const Arg& a : driver->moves()) out.push_back(a.value.toInt());
    return out;
  }
  QStringList runLog() const {
    const QStringList lines = form->MemoLog->Lines();
    return lines.mid(lines.indexOf(QStringLiteral("Lancement autofocus")));
  }
  void clickStop() {
    emit form->TimerTrackBar->OnTimer();  // the motor poll, as it ticks during the run
    ASSERT_TRUE(form->BoutonSTOP->isEnabled());
    QTest::mouseClick(form->BoutonSTOP, Qt::LeftButton);
  }
};

}  // namespace

TEST(ApprochesRules, WhatTheRunsBelowCannotShow) {
  EXPECT_FALSE(dansTolerance(4.0, 0.0, 6));  // a measure of nothing is never within
  EXPECT_EQ(multiplicateurDepart(8.0, QStringLiteral("fin"), 2, 3), 6);  // "Fin" only, as written
  EXPECT_EQ(delaiStabilisation(-5), 0u);
}

TEST_F(Approches, ACompletedRunWalksBackWithSlowStepsAndEndsOneSlowStepBack) {
  const QList<double> walk{5.0, 4.0, 4.5, 4.0, 4.2, 4.1};  // Sens moteur, Etape 2 (2), Etape 3 (2), Fin
  struct Case {
    double start;
    QString mode;
    QList<double> measures;
    V sent;
  };
  for (const Case& c :
       {Case{5.9, {}, walk, {10, 10, 10, -10, -10, 10}}, Case{6.0, {}, walk, {30, 30, 30, -10, -10, 10}},
        Case{8.0, "Fin", walk, {10, 10, 10, -10, -10, 10}},
        Case{5.0, {}, walk, {10, -10, -10, 10, 10, -10}}}) {  // 5.0 again: the other way
    SCOPED_TRACE(c.start);
    driver->log.calls.clear();
    form->MemoLog->clear();
    form->Label1->clear();  // the launcher clears it after each run
    seen.clear();
    ModeFocus = c.mode;
    script = QList<double>{c.start} + c.measures;
    form->AutofocusApproches();
    EXPECT_EQ(moves(), c.sent);
    EXPECT_EQ(runLog(), (QStringList{"Lancement autofocus", "  +-- Approches",
                                     "fwhm ini = " + numfmt::Fixed3(c.start, 1), "Autofocus terminé, fwhm = 4,1"}));
    EXPECT_EQ(form->xFinAutofocus, FinAutofocus::Terminee);
    EXPECT_FALSE(form->xSortieTolerance);
    EXPECT_TRUE(form->LabelMesure->isHidden() && form->LabelChrono->isHidden());
  }
  QStringList phases;
  for (const Seen& s : seen) phases << s.phase;
  EXPECT_EQ(phases, (QStringList{"", "Sens moteur", "Etape 2", "Etape 2", "Etape 3", "Etape 3", "Fin"}));
  EXPECT_FALSE(seen[0].autoFocus);
  EXPECT_TRUE(seen[1].autoFocus);
  EXPECT_TRUE(seen[0].heldAsAnOperation && seen[6].heldAsAnOperation);
  EXPECT_FALSE(form->OperationUnderWay());
  EXPECT_FALSE(form->TimerSouris->Enabled() || form->TimerSuivi->Enabled() || form->BoutonFocuserConnect->isEnabled());
}

TEST_F(Approches, ARunEndsOnTheToleranceOnlyWhenTheChangeIsWithinIt) {
  form->xTolerance = 3;
  script = {5.0, 4.0, 4.1};
  form->AutofocusApproches();
  EXPECT_EQ(moves(), (V{10, 10}));
  EXPECT_TRUE(form->xSortieTolerance);
  EXPECT_EQ(runLog().last(), QStringLiteral("Autofocus terminé, fwhm = 4,1"));
  EXPECT_TRUE(form->LabelMesure->isHidden() && form->LabelChrono->isHidden());

  driver->log.calls.clear();
  form->xTolerance = 2;
  form->xSortieTolerance = false;
  script = {5.0, 4.0, 4.1, 4.0, 4.3, 4.1};  // 4.1 after 4.0 ends "Etape 2"
  form->AutofocusApproches();
  EXPECT_EQ(moves(), (V{10, 10, -10, -10, 10}));
  EXPECT_FALSE(form->xSortieTolerance);
}

TEST_F(Approches, ASeriesOfTwoKeepsItsLastMeasureAndOneOfThreeItsMeanWithASumLine) {
  form->xNbMesures = 2;
  form->xDelaiAutofocus = 0;
  script = {5.0, 7.0, 4.0, 4.4, 4.0};  // the second of each pair stands
  form->AutofocusApproches();
  EXPECT_EQ(moves(), (V{10, 10}));  // 4.0 after 4.0: within a tolerance of 0
  EXPECT_DOUBLE_EQ(form->fwhm_test, 4.0);
  EXPECT_TRUE(form->Memo1->Lines().isEmpty());
  EXPECT_GT(seen[2].passes, seen[1].passes);  // a settle delay of 0 still serves events

  for (QChar separator : {QLatin1Char(','), QLatin1Char('.')}) {
    numfmt::SetDecimalSeparator(separator);
    form->Memo1->clear();
    form->MemoLog->clear();
    seen.clear();
    form->xNbMesures = 3;
    script = {6.5, 5.0, 5.5, 6.0, 5.4, 5.5, 5.6};  // two means of 5.5
    form->AutofocusApproches();
    const QString sum = QStringLiteral("16") + separator + QStringLiteral("50/3");
    EXPECT_EQ(form->Memo1->Lines(), (QStringList{sum, sum}));
    EXPECT_EQ(runLog()[2], QStringLiteral("fwhm ini = 6") + separator + QStringLiteral("5"));
    EXPECT_EQ(seen[2].counter, QStringLiteral("Mesure 2/3"));
    EXPECT_TRUE(seen[2].counterShown);
  }
}

TEST_F(Approches, TheManualTriggerTakesOneMeasureAPositionWithTheCounterHidden) {
  form->xManuel = true;
  form->xNbMesures = 5;
  script = {5.0, 4.0, 4.0};
  form->AutofocusApproches();
  EXPECT_EQ(moves(), (V{10, 10}));
  EXPECT_EQ(seen.size(), 3);
  EXPECT_EQ(seen[1].counter, QStringLiteral("Mesure 1/1"));
  EXPECT_FALSE(seen[1].counterShown);
}

TEST_F(Approches, HandEditedCountsNeverOverrunTheSeriesAndANegativeDelayWaitsNothing) {
  form->xNbMesures = 25;
  form->xDelaiAutofocus = -5;
  script = {5.0};
  for (int i = 0; i < 40; ++i) script << 4.0;
  const uint32_t start = p.time.GetTickCount();
  form->AutofocusApproches();
  EXPECT_EQ(seen.size(), 41);  // 20 a position
  EXPECT_EQ(form->Memo1->Lines(), (QStringList{"80,00/20", "80,00/20"}));
  EXPECT_LT(p.time.GetTickCount() - start, 1000u);

  driver->log.calls.clear();
  form->xNbMesures = 0;  // no measure: the starting FWHM stands
  script = {5.0};
  form->AutofocusApproches();
  EXPECT_EQ(moves(), (V{10, -10}));
  EXPECT_TRUE(form->xSortieTolerance);
}

TEST_F(Approches, AStopEndsTheRunWithNoFurtherMoveWhereverItComes) {
  // Complete: 30, 30, 30, 30, -10, -10, 10 with the measures after each move.
  const QList<double> run{8.0, 7.0, 6.0, 5.0, 5.5, 5.2, 5.4, 5.3};
  enum When { DuringMeasure, DuringDelayAfter, DuringMove };
  struct Case {
    When when;
    int at;  // the measure (0 the starting one) or the move (1 the first)
    int movesSent;
    QString lastLine;
  };
  for (const Case& c :
       {Case{DuringMeasure, 0, 0, "fwhm ini = 8,0"}, Case{DuringMeasure, 1, 1, "fwhm ini = 8,0"},
        Case{DuringDelayAfter, 1, 1, "fwhm ini = 8,0"}, Case{DuringDelayAfter, 3, 3, "fwhm ini = 8,0"},
        Case{DuringMove, 5, 5, "fwhm ini = 8,0"}, Case{DuringDelayAfter, 7, 7, "Autofocus terminé, fwhm = 5,3"}}) {
    SCOPED_TRACE(testing::Message() << c.when << " " << c.at);
    driver->log.calls.clear();
    form->MemoLog->clear();
    seen.clear();
    script = run;
    driver->movingAnswers = c.when == DuringMove ? 5 : 0;
    duringMeasure = [&](int n) {
      if (n != c.at) return;
      if (c.when == DuringMeasure) clickStop();
      if (c.when == DuringDelayAfter) p.time.at(p.time.GetTickCount() + 1000, [this] { clickStop(); });
    };
    bool clicked = false;
    p.time.onPass = [&] {
      if (c.when != DuringMove || clicked || int(driver->moves().size()) != c.at || !form->MoveUnderWay()) return;
      clicked = true;
      clickStop();
    };
    form->AutofocusApproches();
    p.time.onPass = nullptr;
    EXPECT_EQ(int(moves().size()), c.movesSent);
    EXPECT_EQ(runLog().filter(QStringLiteral("STOP demandé")).size(), 1);
    EXPECT_EQ(runLog().filter(QStringLiteral("fwhm")).last(), c.lastLine);
    EXPECT_EQ(form->xFinAutofocus, c.at == 7 ? FinAutofocus::Terminee : FinAutofocus::Interrompue);
    EXPECT_TRUE(form->BoutonFocuserConnect->isEnabled());
    EXPECT_EQ(driver->log.count(QStringLiteral("Halt")), 1);
  }
  duringMeasure = nullptr;
}
