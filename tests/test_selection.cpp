#include <QGroupBox>
#include <gtest/gtest.h>

#include "platform/controls.h"
#include "platform/controls_dialog.h"
#include "settings_fixture.h"

namespace {

struct Selection : ::testing::Test, SettingsFixture {
  std::shared_ptr<ChooserScript> chooser = std::make_shared<ChooserScript>();
  Selection() {
    registerChooser(p.com, chooser);
    form->FocDriver = QStringLiteral("Old.Focuser");
    form->xLimiteBasse = 100;
    form->xLimiteHaute = 900;
    form->xPositionMap = 450;
  }
  QString lastDebugLine() const { return form->Memo1->Lines().value(form->Memo1->Lines().size() - 1); }
  void expectBoxesCleared() const {
    EXPECT_EQ(form3->LimiteBasse->text(), "0");
    EXPECT_EQ(form3->LimiteHaute->text(), "99999");
    EXPECT_EQ(form3->PointDeMap->text(), "0");
    for (TLabeledEdit* box : {form3->LimiteBasse, form3->LimiteHaute, form3->PointDeMap})
      EXPECT_EQ(box->Color(), clWindow);
  }
};

}  // namespace

TEST_F(Selection, ChosenDriverIsTakenAtOnceAndClearsTheLearningBoxes) {
  chooser->answers << QStringLiteral("New.Focuser");
  open();
  form3->BoutonSelection->click();
  EXPECT_EQ(chooser->calls, (QStringList{"devicetype=Focuser", "Choose(&Old.Focuser)"}));
  EXPECT_EQ(form3->Edit1->text(), "New.Focuser");
  EXPECT_EQ(lastDebugLine(), "#New.Focuser#");
  EXPECT_TRUE(form->AscomOK);
  EXPECT_EQ(form->FocDriver, "New.Focuser");
  expectBoxesCleared();
  EXPECT_EQ(form->xLimiteBasse, 100);  // the record takes the boxes on OK only
  EXPECT_EQ(p.desktop.broughtToFront, std::vector<QWidget*>{form3.get()});
}

TEST_F(Selection, EachClickMakesANewChooserAndTheDriverInUseCountsAsANewChoice) {
  chooser->answers << QStringLiteral("Old.Focuser") << QStringLiteral("Old.Focuser");
  open();
  form3->BoutonSelection->click();
  form3->BoutonSelection->click();
  EXPECT_EQ(chooser->created, 2);
  expectBoxesCleared();
}

TEST_F(Selection, CancelledChooserLeavesTheDriverAndBoxesButClearsThePlatformFlag) {
  chooser->answers << QString();
  form->xLimiteBasse = 100;
  open();
  form3->BoutonSelection->click();
  EXPECT_EQ(lastDebugLine(), "##");
  EXPECT_FALSE(form->AscomOK);
  EXPECT_EQ(form->FocDriver, "Old.Focuser");
  EXPECT_EQ(form3->LimiteBasse->text(), "100");
  EXPECT_EQ(form3->LimiteBasse->Color(), clLightGreen);
  EXPECT_TRUE(p.desktop.broughtToFront.empty());
}

TEST_F(Selection, ChooserThatCannotBeCreatedShowsTheOleErrorDialog) {
  p.com.unregisterClass(QStringLiteral("DriverHelper.Chooser"));
  open();
  form3->BoutonSelection->click();
  ASSERT_EQ(p.dialogs.shown.size(), 1);
  EXPECT_EQ(p.dialogs.shown[0].kind, "MessageDlg");
  EXPECT_EQ(p.dialogs.shown[0].text, QStringLiteral("Erreur OLE. ASCOM indisponible"));
  EXPECT_EQ(p.dialogs.shown[0].caption, QStringLiteral("Erreur"));
  EXPECT_EQ(p.dialogs.shown[0].buttons, QList<MsgDlgBtn>{MsgDlgBtn::OK});
  EXPECT_EQ(lastDebugLine(), "##");
  EXPECT_FALSE(form->AscomOK);
}

TEST_F(Selection, FailingChooserAfterAnEarlierChoiceTakesThatChoiceAgain) {
  chooser->answers << QStringLiteral("New.Focuser");
  open();
  form3->BoutonSelection->click();
  form3->LimiteBasse->setText("5");
  chooser->failChoose = true;
  form3->BoutonSelection->click();
  EXPECT_EQ(p.dialogs.texts("MessageDlg"), QStringList{QStringLiteral("Erreur OLE. ASCOM indisponible")});
  EXPECT_EQ(lastDebugLine(), "#New.Focuser#");
  EXPECT_TRUE(form->AscomOK);
  expectBoxesCleared();
}

TEST_F(Selection, OkAfterANewChoiceStoresTheClearedLimits) {
  chooser->answers << QStringLiteral("New.Focuser");
  runSetup([](TForm3& d) { d.BoutonSelection->click(); }, true);
  EXPECT_EQ(form->xLimiteBasse, 0);
  EXPECT_EQ(form->xLimiteHaute, 99999);
  EXPECT_EQ(form->xPositionMap, 0);
}

TEST_F(Selection, CancelAfterANewChoiceKeepsTheDriverNameButNotTheClearedLimits) {
  const auto driver = holdDriver();
  chooser->answers << QStringLiteral("New.Focuser");
  runSetup([](TForm3& d) { d.BoutonSelection->click(); }, false);
  EXPECT_EQ(form->FocDriver, "New.Focuser");
  EXPECT_EQ(form->xLimiteBasse, 100);
  EXPECT_EQ(form->xLimiteHaute, 900);
  EXPECT_EQ(form->xPositionMap, 450);
  EXPECT_EQ(form->Focuser.object(), driver.get());
  EXPECT_TRUE(form->FocuserExists);
}

TEST_F(Selection, OkAfterACancelledChooserDoesNotReconnectAndHidesTheGroupsNextTime) {
  holdDriver();
  chooser->answers << QString();
  runSetup([](TForm3& d) { d.BoutonSelection->click(); }, true);
  EXPECT_FALSE(form->FocuserExists);
  EXPECT_FALSE(form->AscomOK);
  // The old driver object is still held and linked: the poll, and with it the
  // stop button, keeps working.
  EXPECT_TRUE(form->TimerTrackBar->Enabled());
  runSetup([](TForm3& d) {
    EXPECT_TRUE(d.GroupeMoteurMAP->isHidden());
    EXPECT_TRUE(d.GroupeApprentissage->isHidden());
  }, false);
}

TEST_F(Selection, ParametersOpensTheSetupOfTheDriverInUse) {
  const auto driver = holdDriver();
  chooser->answers << QStringLiteral("New.Focuser");
  open();
  form3->BoutonSelection->click();
  form3->Button1->click();
  EXPECT_EQ(driver->calls, QStringList{"SetupDialog"});
}

TEST_F(Selection, ParametersWithoutADriverObjectReportsItAndLeavesTheDialogOpen) {
  open();
  form3->Button1->click();
  EXPECT_EQ(p.dialogs.texts("ErrorBox"),
            QStringList{QStringLiteral("Le variant ne référence pas un objet Automation.")});
  EXPECT_TRUE(form3->isVisible());
}
