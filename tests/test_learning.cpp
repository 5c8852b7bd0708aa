#include <gtest/gtest.h>

#include "platform/controls.h"
#include "settings_fixture.h"

namespace {

struct Learning : ::testing::Test, SettingsFixture {
  Learning() {
    form->xLimiteHaute = 99999;
    form->BarrePO->setRange(500, 2000);
    form->BarrePO->setProgress(1250);
    open();
  }
  void learnAt(int position, TSpeedButton* button) {
    form->xPosition = position;
    button->click();
  }
  QString shown(TLabeledEdit* box) const { return box->text() + (box->Color() == clWindow ? "" : " green"); }
};

}  // namespace

TEST_F(Learning, LowerLimitAboveTheUpperOneRaisesItAndOkKeepsBoth) {
  form->xLimiteHaute = 1000;
  learnAt(1200, form3->ValideLimiteBasse);
  EXPECT_EQ(shown(form3->LimiteHaute), "1200 green");
  learnAt(120000, form3->ValideLimiteBasse);  // beyond "none" too
  EXPECT_EQ(shown(form3->LimiteBasse), "120000 green");
  EXPECT_EQ(shown(form3->LimiteHaute), "120000 green");
  form3->hide();
  runSetup([](TForm3&) {}, true);
  EXPECT_EQ(std::pair(form->xLimiteBasse, form->xLimiteHaute), std::pair(120000, 120000));
}

TEST_F(Learning, UpperLimitOnlyStrictlyAboveTheLowerOneAsStored) {
  for (int refused : {0, -40}) learnAt(refused, form3->ValideLimiteHaute);
  EXPECT_EQ(form->xLimiteHaute, 99999);
  learnAt(-250, form3->ValideLimiteBasse);
  EXPECT_EQ(shown(form3->LimiteBasse), "-250 green");
  for (int refused : {-250, -251}) learnAt(refused, form3->ValideLimiteHaute);
  EXPECT_EQ(form->xLimiteHaute, 99999);
  learnAt(-249, form3->ValideLimiteHaute);
  EXPECT_EQ(shown(form3->LimiteHaute), "-249 green");
  learnAt(99999, form3->ValideLimiteHaute);
  EXPECT_EQ(shown(form3->LimiteHaute), "99999");
}

TEST_F(Learning, FocusPositionAtZeroEnablesTheRecallButtonAllTheSame) {
  form->BoutonRappelMAP->setEnabled(false);
  learnAt(0, form3->ValideMAP);
  EXPECT_TRUE(form->BoutonRappelMAP->isEnabled());
  EXPECT_EQ(shown(form3->PointDeMap), "0");
}

TEST_F(Learning, ClearingALimitTurnsTheGaugeMaroonAndEmptyWithinItsRange) {
  learnAt(0, form3->ValideLimiteBasse);  // 0 means none: the gauge is left alone
  EXPECT_EQ(form->BarrePO->Progress(), 1250);
  form3->EffaceLimiteBasse->click();
  EXPECT_EQ(form->BarrePO->BackColor(), clMaroon);
  EXPECT_EQ(form->BarrePO->Progress(), 500);
  EXPECT_EQ(form->BarrePO->text(), "0%");
}

TEST_F(Learning, LearningTheLowerLimitRunsThePollInTheDialogAndAfterCancel) {
  form3->hide();
  runSetup([this](TForm3& d) {
    learnAt(300, d.ValideLimiteBasse);
    EXPECT_TRUE(form->TimerTrackBar->Enabled());
  }, false);
  EXPECT_TRUE(form->TimerTrackBar->Enabled());
  EXPECT_EQ(form->xLimiteBasse, 300);
}
