#include <QGroupBox>
#include <gtest/gtest.h>

#include "platform/controls.h"
#include "platform/controls_dialog.h"
#include "settings_fixture.h"

namespace {

struct Selection : ::testing::Test, SettingsFixture {
  Selection() {
    form->FocDriver = QStringLiteral("Old.Focuser");
    form->xLimiteBasse = 100;
    form->xLimiteHaute = 900;
    form->xPositionMap = 450;
  }
  QString lastDebugLine() const { return form->Memo1->Lines().last(); }
  QStringList boxes() const {
    QStringList out;
    for (TLabeledEdit* b : {form3->LimiteBasse, form3->LimiteHaute, form3->PointDeMap})
      out << b->text() + (b->Color() == clWindow ? "" : " green");
    return out;
  }
};

}  // namespace

TEST_F(Selection, ChosenDriverIsTakenAtOnceAndClearsTheLearningBoxes) {
  chooser->answers << QStringLiteral("Old.Focuser") << QStringLiteral("New.Focuser");
  open();
  form3->BoutonSelection->click();
  form3->LimiteBasse->setText("5");
  form3->BoutonSelection->click();
  EXPECT_EQ(chooser->calls, (QStringList{"created", "devicetype=Focuser", "Choose(&Old.Focuser)", "created",
                                         "devicetype=Focuser", "Choose(&Old.Focuser)"}));
  EXPECT_EQ(lastDebugLine(), "#New.Focuser#");
  EXPECT_TRUE(form->AscomOK);
  EXPECT_EQ(form->FocDriver, "New.Focuser");
  EXPECT_EQ(boxes(), (QStringList{"0", "99999", "0"}));
  EXPECT_EQ(form->xLimiteBasse, 100);  // the record takes the boxes on OK
  EXPECT_EQ(p.desktop.broughtToFront, (std::vector<QWidget*>{form3.get(), form3.get()}));
}

TEST_F(Selection, CancelledChooserChangesNothingButThePlatformFlag) {
  open();
  form3->BoutonSelection->click();
  EXPECT_EQ(lastDebugLine(), "##");
  EXPECT_FALSE(form->AscomOK);
  EXPECT_EQ(form->FocDriver, "Old.Focuser");
  EXPECT_EQ(boxes(), (QStringList{"100 green", "900 green", "450 green"}));
  EXPECT_TRUE(p.desktop.broughtToFront.empty());
}

TEST_F(Selection, FailingChooserShowsTheOleErrorAndTakesTheEarlierAnswerAgain) {
  chooser->answers << QStringLiteral("New.Focuser");
  open();
  form3->BoutonSelection->click();
  chooser->fail = true;
  form3->BoutonSelection->click();
  ASSERT_EQ(p.dialogs.shown.size(), 1);
  EXPECT_EQ(p.dialogs.shown[0].kind + "|" + p.dialogs.shown[0].caption + "|" + p.dialogs.shown[0].text,
            QStringLiteral("MessageDlg|Erreur|Erreur OLE. ASCOM indisponible"));
  EXPECT_EQ(p.dialogs.shown[0].buttons, QList<MsgDlgBtn>{MsgDlgBtn::OK});
  EXPECT_EQ(lastDebugLine(), "#New.Focuser#");
  EXPECT_TRUE(form->AscomOK);
}

TEST_F(Selection, OkAfterANewChoiceStoresTheClearedLimitsAndCancelKeepsTheOldOnes) {
  const auto driver = holdDriver();
  chooser->answers << QStringLiteral("New.Focuser") << QStringLiteral("Other.Focuser");
  runSetup([](TForm3& d) { d.BoutonSelection->click(); }, false);
  EXPECT_EQ(form->FocDriver, "New.Focuser");
  EXPECT_EQ(std::tuple(form->xLimiteBasse, form->xLimiteHaute, form->xPositionMap), std::tuple(100, 900, 450));
  EXPECT_EQ(form->Focuser.object(), driver.get());
  runSetup([](TForm3& d) { d.BoutonSelection->click(); }, true);
  EXPECT_EQ(std::tuple(form->xLimiteBasse, form->xLimiteHaute, form->xPositionMap), std::tuple(0, 99999, 0));
}

TEST_F(Selection, OkAfterACancelledChooserKeepsThePollOnTheOldDriverAndHidesTheGroupsNextTime) {
  holdDriver();
  runSetup([](TForm3& d) { d.BoutonSelection->click(); }, true);
  EXPECT_FALSE(form->FocuserExists);
  EXPECT_TRUE(form->TimerTrackBar->Enabled());
  runSetup([](TForm3& d) { EXPECT_TRUE(d.GroupeMoteurMAP->isHidden() && d.GroupeApprentissage->isHidden()); },
           false);
}
