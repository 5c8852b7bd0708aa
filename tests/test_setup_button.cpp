#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/controls.h"
#include "platform/controls_dialog.h"
#include "settings_dialog/operation_en_cours.h"
#include "settings_fixture.h"

namespace {

struct SetupButton : ::testing::Test, SettingsFixture {
  SetupButton() {
    form->xPasLent = 2;
    form->xPasRapide = 4;
    form->xTolerance = 2;
    form->xDelaiAutofocus = 3;
    form->xNbMesures = 2;
    form->xMethode = 0;
    form->xTaille = 20;
    form->xManuel = false;
  }
};

// Edits every control the way a user would.
void editEverything(TForm3& d) {
  d.PasLent->setText("7");
  d.PasRapide->setText("12");
  d.Tolerance->setText("5");
  d.Delai_Autofocus->setText("30");
  d.EditMesures->setText("4");
  d.ComboBox1->setCurrentIndex(1);
  emit d.ComboBox1->activated(1);
  d.MaskEdit1->setText("2.50");
  d.IsManuel->setChecked(true);
  d.SpinEdit1->setValue(34);
}

}  // namespace

TEST_F(SetupButton, OkCopiesTheControlsIntoTheRecord) {
  holdDriver();
  form->xLimiteBasse = 100;
  form->xLimiteHaute = 900;
  form->xPositionMap = 450;
  runSetup(editEverything, true);
  EXPECT_EQ(form->xPasLent, 7);
  EXPECT_EQ(form->xPasRapide, 12);
  EXPECT_EQ(form->xTolerance, 5);
  EXPECT_EQ(form->xDelaiAutofocus, 30);
  EXPECT_EQ(form->xNbMesures, 4);
  EXPECT_EQ(form->xMethode, 1);
  EXPECT_DOUBLE_EQ(form->xCible, 2.5);
  EXPECT_TRUE(form->xManuel);
  EXPECT_EQ(form->xTaille, 34);
  EXPECT_EQ(form->xLimiteBasse, 100);
  EXPECT_EQ(form->xLimiteHaute, 900);
  EXPECT_EQ(form->xPositionMap, 450);
  EXPECT_FALSE(form->FocuserExists);
}

TEST_F(SetupButton, CancelKeepsWhatWasWrittenAtOnceAndDropsTheRest) {
  runSetup([](TForm3& d) {
    editEverything(d);
    d.UpDownMesures->clickArrow(TUpDown::Bouton::Next);  // 4 typed, then 5 by the arrow
  }, false);
  EXPECT_EQ(form->xPasLent, 2);
  EXPECT_EQ(form->xPasRapide, 4);
  EXPECT_EQ(form->xTolerance, 2);
  EXPECT_EQ(form->xDelaiAutofocus, 3);
  EXPECT_EQ(form->xMethode, 1);
  EXPECT_DOUBLE_EQ(form->xCible, 2.5);
  EXPECT_EQ(form->xNbMesures, 5);
  EXPECT_TRUE(form->xManuel);
  EXPECT_EQ(form->xTaille, 34);

  // The next opening shows the record again, not the cancelled edits.
  runSetup([](TForm3& d) { EXPECT_EQ(d.PasLent->text(), "2"); }, false);
}

TEST_F(SetupButton, TypedTextTheUpDownRefusesLeavesItsPositionForOk) {
  runSetup([](TForm3& d) {
    d.PasLent->setText("abc");
    d.Tolerance->setText("9");  // beyond 0 to 6
    d.Delai_Autofocus->setText("");
  }, true);
  EXPECT_EQ(form->xPasLent, 2);
  EXPECT_EQ(form->xTolerance, 2);
  EXPECT_EQ(form->xDelaiAutofocus, 3);
}

TEST_F(SetupButton, OkWithAMethodOutsideTheListStoresMinusOne) {
  form->xMethode = 2;
  runSetup([](TForm3&) {}, true);
  EXPECT_EQ(form->xMethode, -1);
}

TEST_F(SetupButton, PickingIsOnAfterTheDialogWhateverOnOffAndHowItClosed) {
  form->CheckBox1->setChecked(false);
  form->TimerSouris->setEnabled(false);
  runSetup([&](TForm3&) { EXPECT_FALSE(form->TimerSouris->Enabled()); }, false);
  EXPECT_TRUE(form->TimerSouris->Enabled());
  form->TimerSouris->setEnabled(false);
  runSetup([](TForm3&) {}, true);
  EXPECT_TRUE(form->TimerSouris->Enabled());
}

TEST_F(SetupButton, PollIsOffWhileTheDialogIsOpenAndRunsAfterItWhileALinkedDriverIsHeld) {
  const auto driver = holdDriver(true);
  form->TimerTrackBar->setEnabled(true);
  runSetup([&](TForm3&) { EXPECT_FALSE(form->TimerTrackBar->Enabled()); }, false);
  EXPECT_TRUE(form->TimerTrackBar->Enabled());

  // After OK, too, even when the reconnection did not switch it on.
  runSetup([](TForm3&) {}, true);
  EXPECT_TRUE(form->TimerTrackBar->Enabled());
}

TEST_F(SetupButton, PollStaysOffAfterTheDialogWithoutALinkedDriver) {
  form->TimerTrackBar->setEnabled(true);
  runSetup([](TForm3&) {}, false);
  EXPECT_FALSE(form->TimerTrackBar->Enabled());

  holdDriver(false);
  form->TimerTrackBar->setEnabled(true);
  runSetup([](TForm3&) {}, false);
  EXPECT_FALSE(form->TimerTrackBar->Enabled());
}

TEST_F(SetupButton, OkDuringAnOperationHaltsItAndHandsOverOnceItHasEnded) {
  const auto driver = holdDriver(true);
  {
    OperationEnCours move(*form);
    runSetup([](TForm3& d) { d.PasLent->setText("7"); }, true);
    EXPECT_EQ(driver->calls.filter("Halt"), QStringList{"Halt"});
    EXPECT_TRUE(Halt);
    EXPECT_EQ(form->xPasLent, 2);
    EXPECT_TRUE(form->FocuserExists);
    EXPECT_FALSE(form->TimerSouris->Enabled());
    EXPECT_TRUE(form->TimerTrackBar->Enabled());  // so the stop button works meanwhile
    QCoreApplication::processEvents();
    EXPECT_EQ(form->xPasLent, 2);
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(form->xPasLent, 7);
  EXPECT_FALSE(form->FocuserExists);
  EXPECT_TRUE(form->TimerSouris->Enabled());
  EXPECT_TRUE(p.dialogs.shown.isEmpty());  // no box: the stop button's own steps are not run
}

TEST_F(SetupButton, OkDuringAnOperationThatWillNotReconnectHandsOverAtOnce) {
  const auto driver = holdDriver(true);
  form->AscomOK = false;
  OperationEnCours move(*form);
  runSetup([](TForm3& d) { d.PasLent->setText("7"); }, true);
  EXPECT_TRUE(driver->calls.filter("Halt").isEmpty());
  EXPECT_FALSE(Halt);
  EXPECT_EQ(form->xPasLent, 7);
  EXPECT_TRUE(form->TimerSouris->Enabled());
}

TEST_F(SetupButton, ClosingTheProgramWhileTheDialogIsOpenTakesNothing) {
  runSetup([](TForm3& d) {
    d.PasLent->setText("7");
    Application->Terminate();
  }, true);
  EXPECT_EQ(form->xPasLent, 2);
  EXPECT_FALSE(form->TimerSouris->Enabled());
}

TEST_F(SetupButton, EnterPressesOkAndEscapeCancels) {
  TForm3* dialog = form3.get();
  QTimer::singleShot(0, dialog, [dialog] {
    dialog->PasLent->setText("6");
    QTest::keyClick(dialog->PasLent, Qt::Key_Escape);
  });
  form->BoutonSetup->click();
  EXPECT_EQ(form->xPasLent, 2);

  QTimer::singleShot(0, dialog, [dialog] {
    dialog->PasLent->setFocus();
    dialog->PasLent->setText("6");
    QTest::keyClick(dialog->PasLent, Qt::Key_Return);
  });
  form->BoutonSetup->click();
  EXPECT_EQ(form->xPasLent, 6);
}
