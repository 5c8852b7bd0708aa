#include <gtest/gtest.h>

#include "platform/controls.h"
#include "settings_fixture.h"

namespace {

struct Learning : ::testing::Test, SettingsFixture {
  Learning() {
    form->xLimiteBasse = 0;
    form->xLimiteHaute = 99999;
    form->xPositionMap = 0;
    form->BarrePO->setBackColor(clWhite);
    form->BarrePO->setRange(500, 2000);
    form->BarrePO->setProgress(1250);
  }
  void learnLowerAt(int position) {
    form->xPosition = position;
    form3->ValideLimiteBasse->click();
  }
  void learnUpperAt(int position) {
    form->xPosition = position;
    form3->ValideLimiteHaute->click();
  }
};

}  // namespace

TEST_F(Learning, LowerLimitAboveTheUpperOneRaisesItToTheSamePosition) {
  form->xLimiteHaute = 1000;
  open();
  learnLowerAt(1200);
  EXPECT_EQ(form->xLimiteBasse, 1200);
  EXPECT_EQ(form->xLimiteHaute, 1200);
  EXPECT_EQ(form3->LimiteBasse->text(), "1200");
  EXPECT_EQ(form3->LimiteHaute->text(), "1200");
  EXPECT_EQ(form3->LimiteBasse->Color(), clLightGreen);
  EXPECT_EQ(form3->LimiteHaute->Color(), clLightGreen);
  runSetup([](TForm3&) {}, true);
  EXPECT_EQ(form->xLimiteBasse, 1200);
  EXPECT_EQ(form->xLimiteHaute, 1200);
}

TEST_F(Learning, LowerLimitBeyondNinetyNineThousandRaisesTheAbsentUpperLimitToo) {
  open();
  learnLowerAt(120000);
  EXPECT_EQ(form->xLimiteHaute, 120000);
  EXPECT_EQ(form3->LimiteHaute->Color(), clLightGreen);
}

TEST_F(Learning, LowerLimitAtZeroMeansNoneAndLeavesTheGauge) {
  open();
  learnLowerAt(0);
  EXPECT_EQ(form->xLimiteBasse, 0);
  EXPECT_EQ(form3->LimiteBasse->Color(), clWindow);
  EXPECT_EQ(form->BarrePO->BackColor(), clWhite);
  EXPECT_EQ(form->BarrePO->Progress(), 1250);
}

TEST_F(Learning, NegativePositionsAreLearntWithTheirSign) {
  open();
  learnLowerAt(-250);
  form3->ValideMAP->click();
  EXPECT_EQ(form->xLimiteBasse, -250);
  EXPECT_EQ(form->xPositionMap, -250);
  EXPECT_EQ(form3->LimiteBasse->text(), "-250");
  EXPECT_EQ(form3->PointDeMap->text(), "-250");
  EXPECT_EQ(form3->LimiteBasse->Color(), clLightGreen);
  EXPECT_EQ(form3->PointDeMap->Color(), clLightGreen);
}

TEST_F(Learning, UpperLimitOnlyStrictlyAboveTheLowerOne) {
  form->xLimiteBasse = 500;
  form->xLimiteHaute = 3000;
  open();
  learnUpperAt(500);
  learnUpperAt(499);
  EXPECT_EQ(form->xLimiteHaute, 3000);
  EXPECT_EQ(form3->LimiteHaute->text(), "3000");
  learnUpperAt(501);
  EXPECT_EQ(form->xLimiteHaute, 501);
  EXPECT_EQ(form3->LimiteHaute->text(), "501");
}

TEST_F(Learning, WithoutALowerLimitZeroAndNegativePositionsCannotBeTheUpperLimit) {
  open();
  learnUpperAt(0);
  learnUpperAt(-40);
  EXPECT_EQ(form->xLimiteHaute, 99999);
  learnUpperAt(1);
  EXPECT_EQ(form->xLimiteHaute, 1);
}

TEST_F(Learning, UpperLimitLearntAtNinetyNineThousandMeansNone) {
  form->xLimiteHaute = 5000;
  open();
  learnUpperAt(99999);
  EXPECT_EQ(form->xLimiteHaute, 99999);
  EXPECT_EQ(form3->LimiteHaute->Color(), clWindow);
}

TEST_F(Learning, FocusPositionEnablesTheRecallButtonEvenAtZero) {
  form->BoutonRappelMAP->setEnabled(false);
  open();
  form->xPosition = 0;
  form3->ValideMAP->click();
  EXPECT_TRUE(form->BoutonRappelMAP->isEnabled());
  EXPECT_EQ(form3->PointDeMap->text(), "0");
  EXPECT_EQ(form3->PointDeMap->Color(), clWindow);
}

TEST_F(Learning, ClearingALimitTurnsTheGaugeMaroonAndEmptyWithinItsRange) {
  open();
  form3->EffaceLimiteBasse->click();  // already clear
  EXPECT_EQ(form->BarrePO->BackColor(), clMaroon);
  EXPECT_EQ(form->BarrePO->Progress(), 500);
  EXPECT_EQ(form->BarrePO->text(), "0%");

  form->xLimiteHaute = 4000;
  form->BarrePO->setBackColor(clWhite);
  open();
  form3->EffaceLimiteHaute->click();
  EXPECT_EQ(form->xLimiteHaute, 99999);
  EXPECT_EQ(form3->LimiteHaute->text(), "99999");
  EXPECT_EQ(form3->LimiteHaute->Color(), clWindow);
  EXPECT_EQ(form->BarrePO->BackColor(), clMaroon);
}

TEST_F(Learning, ClearingTheFocusPositionLeavesTheGaugeAndTheRecallButton) {
  form->xPositionMap = 800;
  form->BoutonRappelMAP->setEnabled(true);
  open();
  form3->EffaceMAP->click();
  EXPECT_EQ(form->xPositionMap, 0);
  EXPECT_EQ(form3->PointDeMap->Color(), clWindow);
  EXPECT_TRUE(form->BoutonRappelMAP->isEnabled());
  EXPECT_EQ(form->BarrePO->BackColor(), clWhite);
}

TEST_F(Learning, WhatIsLearntSurvivesCancelAndShowsAtTheNextOpening) {
  runSetup([this](TForm3& d) {
    form->xPosition = 700;
    d.ValideLimiteBasse->click();
    form->xPosition = 1500;
    d.ValideMAP->click();
  }, false);
  EXPECT_EQ(form->xLimiteBasse, 700);
  EXPECT_EQ(form->xPositionMap, 1500);
  runSetup([](TForm3& d) {
    EXPECT_EQ(d.LimiteBasse->text(), "700");
    EXPECT_EQ(d.PointDeMap->text(), "1500");
    EXPECT_EQ(d.PointDeMap->Color(), clLightGreen);
  }, false);
}

TEST_F(Learning, LearningTheLowerLimitRunsThePollInTheDialogAndAfterIt) {
  runSetup([this](TForm3& d) {
    form->xPosition = 300;
    d.ValideLimiteBasse->click();
    EXPECT_TRUE(form->TimerTrackBar->Enabled());
  }, false);
  EXPECT_TRUE(form->TimerTrackBar->Enabled());
}
