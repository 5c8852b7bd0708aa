#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "platform/controls.h"
#include "platform/controls_dialog.h"
#include "autofocus/en_cours.h"
#include "settings_fixture.h"

namespace {

struct SetupButton : ::testing::Test, SettingsFixture {
  SetupButton() {
    form->xPasLent = 2;
    form->xPasRapide = 4;
    form->xTolerance = 2;
    form->xDelaiAutofocus = 3;
    form->xNbMesures = 2;
  }
};

void editEverything(TForm3& d) {
  d.PasLent->setText("7");
  d.PasRapide->setText("abc");  // refused: the up-down keeps its position
  d.Tolerance->setText("5");
  d.Delai_Autofocus->setText("30");
  d.UpDownMesures->clickArrow(TUpDown::Bouton::Next);
  d.ComboBox1->setCurrentIndex(1);
  emit d.ComboBox1->activated(1);
  d.IsManuel->setChecked(true);
  d.SpinEdit1->setValue(34);
}

}  // namespace

TEST_F(SetupButton, OkTakesTheControlsAndCancelOnlyWhatWasWrittenAtOnce) {
  runSetup(editEverything, false);
  EXPECT_EQ(std::tuple(form->xPasLent, form->xTolerance, form->xDelaiAutofocus), std::tuple(2, 2, 3));
  EXPECT_EQ(std::tuple(form->xNbMesures, form->xMethode, form->xManuel, form->xTaille), std::tuple(3, 1, true, 34));

  holdDriver();
  runSetup(editEverything, true);
  EXPECT_EQ(std::tuple(form->xPasLent, form->xPasRapide, form->xTolerance, form->xDelaiAutofocus, form->xNbMesures),
            std::tuple(7, 4, 5, 30, 4));
  EXPECT_FALSE(form->FocuserExists);
}

TEST_F(SetupButton, OkWithAMethodOutsideTheListStoresMinusOne) {
  form->xMethode = 2;
  runSetup([](TForm3&) {}, true);
  EXPECT_EQ(form->xMethode, -1);
}

TEST_F(SetupButton, PickingComesOnAfterTheDialogAndThePollWhileALinkedDriverIsHeld) {
  form->CheckBox1->setChecked(false);
  form->TimerTrackBar->setEnabled(true);
  runSetup([&](TForm3&) { EXPECT_FALSE(form->TimerTrackBar->Enabled() || form->TimerSouris->Enabled()); }, false);
  EXPECT_TRUE(form->TimerSouris->Enabled());
  EXPECT_FALSE(form->TimerTrackBar->Enabled());  // no driver held

  holdDriver(true);
  runSetup([](TForm3&) {}, false);
  EXPECT_TRUE(form->TimerTrackBar->Enabled());
}

TEST_F(SetupButton, OkDuringAnOperationHaltsItAndHandsOverOnceItHasEnded) {
  const auto driver = holdDriver(true);
  {
    const AutofocusEnCours run(*form);
    runSetup([](TForm3& d) { d.PasLent->setText("7"); }, true);
    EXPECT_EQ(driver->calls.filter("Halt"), QStringList{"Halt"});
    EXPECT_TRUE(Halt);
    EXPECT_EQ(form->xPasLent, 2);
    EXPECT_TRUE(form->FocuserExists);
    EXPECT_FALSE(form->TimerSouris->Enabled());
    EXPECT_TRUE(form->TimerTrackBar->Enabled());  // the stop button works meanwhile
    QCoreApplication::processEvents();
    EXPECT_EQ(form->xPasLent, 2);
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(form->xPasLent, 7);
  EXPECT_FALSE(form->FocuserExists);
  EXPECT_TRUE(form->TimerSouris->Enabled());
  EXPECT_TRUE(p.dialogs.shown.isEmpty());  // no box: not the stop button's own steps
}
