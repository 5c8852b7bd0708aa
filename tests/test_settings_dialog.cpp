#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/controls.h"
#include "platform/controls_dialog.h"
#include "platform/number_format.h"
#include "settings_fixture.h"

namespace {

struct SettingsDialog : ::testing::Test, SettingsFixture {
  void TearDown() override { numfmt::SetDecimalSeparator(QLatin1Char('.')); }
  QStringList errors() const { return p.dialogs.texts(QStringLiteral("ErrorBox")); }
};

}  // namespace

TEST_F(SettingsDialog, WindowIsTheFixedToolWindowWithItsCaption) {
  open();
  EXPECT_EQ(form3->windowTitle(), QStringLiteral("Trevast - Paramétrage"));
  EXPECT_EQ(form3->size(), QSize(579, 273));
  EXPECT_TRUE(form3->windowFlags() & Qt::Tool);
  EXPECT_TRUE(form3->BoutonOK->isDefault());
  EXPECT_EQ(form3->ComboBox1->itemText(1), QStringLiteral("Moyenne intra/extra focale"));
  EXPECT_EQ(form3->IsManuel->toolTip(), QStringLiteral("Affiche une fenêtre demandant le déclenchement manuel\n\r"
                                                       "de la prise de vue entre chaque mouvement moteur"));
}

TEST_F(SettingsDialog, BoxesAtTheirSentinelsShowTheWindowColourAndSetValuesLightGreen) {
  form->xLimiteBasse = 0;
  form->xLimiteHaute = 99999;
  form->xPositionMap = 0;
  open();
  EXPECT_EQ(form3->LimiteBasse->text(), "0");
  EXPECT_EQ(form3->LimiteHaute->text(), "99999");
  EXPECT_EQ(form3->PointDeMap->text(), "0");
  for (TLabeledEdit* box : {form3->LimiteBasse, form3->LimiteHaute, form3->PointDeMap})
    EXPECT_EQ(box->Color(), clWindow);

  form->xLimiteBasse = -150;
  form->xLimiteHaute = 4000;
  form->xPositionMap = 2100;
  open();
  EXPECT_EQ(form3->LimiteBasse->text(), "-150");
  for (TLabeledEdit* box : {form3->LimiteBasse, form3->LimiteHaute, form3->PointDeMap})
    EXPECT_EQ(box->Color(), clLightGreen);

  // Back at a sentinel, the box's change handler gives it the window colour again.
  form->xLimiteHaute = 99999;
  open();
  EXPECT_EQ(form3->LimiteHaute->Color(), clWindow);
}

TEST_F(SettingsDialog, MethodZeroGreysTheTargetAndPickingIntraExtraEnablesStoresAndLogsIt) {
  form->xMethode = 0;
  open();
  EXPECT_EQ(form3->ComboBox1->currentIndex(), 0);
  EXPECT_FALSE(form3->MaskEdit1->isEnabled());
  EXPECT_FALSE(form3->Label5->isEnabled());
  const int debugLines = form->Memo1->Lines().size();  // the filling logs nothing

  form3->ComboBox1->setFocus();
  QTest::keyClick(form3->ComboBox1, Qt::Key_Down);
  EXPECT_EQ(form->xMethode, 1);
  EXPECT_TRUE(form3->MaskEdit1->isEnabled());
  EXPECT_TRUE(form3->Label5->isEnabled());
  ASSERT_EQ(form->Memo1->Lines().size(), debugLines + 1);
  EXPECT_EQ(form->Memo1->Lines().last(), QStringLiteral("Méthode Autofocus : Moyenne intra/extra focale"));
}

TEST_F(SettingsDialog, MethodOutsideTheListSelectsNothingAndGreysTheTarget) {
  form->xMethode = 2;
  open();
  EXPECT_EQ(form3->ComboBox1->currentIndex(), -1);
  EXPECT_FALSE(form3->MaskEdit1->isEnabled());
  EXPECT_EQ(form->xMethode, 2);
}

TEST_F(SettingsDialog, TargetIsShownRoundedWithTheLocaleSeparatorAndStoredAsShown) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  form->xCible = 1.2345;
  open();
  EXPECT_EQ(form3->MaskEdit1->text(), QStringLiteral("1,23"));
  EXPECT_DOUBLE_EQ(form->xCible, 1.23);

  numfmt::SetDecimalSeparator(QLatin1Char('.'));
  form->xCible = 2.718;
  open();
  EXPECT_EQ(form3->MaskEdit1->text(), QStringLiteral("2.72"));
  EXPECT_DOUBLE_EQ(form->xCible, 2.72);
  EXPECT_TRUE(errors().isEmpty());
}

TEST_F(SettingsDialog, TargetTextThatIsNoNumberReportsTheConversionAndKeepsTheTarget) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  form->xCible = 1.5;
  form->xMethode = 1;
  open();
  form3->MaskEdit1->clear();
  EXPECT_EQ(errors(), QStringList{QStringLiteral("'' n'est pas une valeur en virgule flottante correcte.")});
  EXPECT_DOUBLE_EQ(form->xCible, 1.5);

  QTest::keyClicks(form3->MaskEdit1, "2.5");  // a point where the locale has a comma
  EXPECT_EQ(errors().mid(1), (QStringList{QStringLiteral("'2.' n'est pas une valeur en virgule flottante correcte."),
                                          QStringLiteral("'2.5' n'est pas une valeur en virgule flottante correcte.")}));
  EXPECT_DOUBLE_EQ(form->xCible, 2.0);  // "2" was read on the way
  form3->MaskEdit1->setText(QStringLiteral("2,75"));
  EXPECT_DOUBLE_EQ(form->xCible, 2.75);
}

TEST_F(SettingsDialog, SizeTypedAsFiftyCountsAsTwentyOnTheWayAndFortyAtTheEnd) {
  form->xTaille = 30;
  open();
  EXPECT_EQ(form3->Shape1->size(), QSize(30, 30));
  form3->SpinEdit1->clear();
  QTest::keyClick(form3->SpinEdit1, Qt::Key_5);
  EXPECT_EQ(form->xTaille, 20);
  EXPECT_EQ(form3->Shape1->size(), QSize(20, 20));
  QTest::keyClick(form3->SpinEdit1, Qt::Key_0);
  EXPECT_EQ(form->xTaille, 40);
  EXPECT_EQ(form3->Shape1->size(), QSize(40, 40));
  EXPECT_EQ(form3->Shape1->pos(), QPoint(12, 36));
}

TEST_F(SettingsDialog, FillingBringsRecordValuesIntoTheRangesOfTheControls) {
  form->xPasRapide = 200;
  form->xTolerance = -4;
  form->xTaille = 64;
  form->xNbMesures = 20;
  open();
  EXPECT_EQ(form3->PasRapide->text(), "95");
  EXPECT_EQ(form3->UpDown1->Position(), 0);
  EXPECT_EQ(form3->Tolerance->text(), "0");
  EXPECT_EQ(form3->EditMesures->text(), "10");
  EXPECT_EQ(form3->SpinEdit1->text(), "40");
  EXPECT_EQ(form->xTaille, 40);  // the size is written at once
  EXPECT_EQ(form->xNbMesures, 20);  // the measures only by their arrows or on OK
}

TEST_F(SettingsDialog, MeasuresArrowWritesAtOnceButATypedNumberWaitsForOk) {
  form->xNbMesures = 2;
  open();
  form3->EditMesures->setText("7");
  EXPECT_EQ(form->xNbMesures, 2);
  form3->UpDownMesures->clickArrow(TUpDown::Bouton::Next);
  EXPECT_EQ(form->xNbMesures, 8);
  EXPECT_EQ(form3->EditMesures->text(), "8");
}

TEST_F(SettingsDialog, ManualTriggerIsWrittenAtOnce) {
  form->xManuel = true;
  open();
  EXPECT_TRUE(form3->IsManuel->isChecked());
  form3->IsManuel->click();
  EXPECT_FALSE(form->xManuel);
}

TEST_F(SettingsDialog, WithoutThePlatformTheDriverAndLearningGroupsStayHiddenForTheRun) {
  form->AscomOK = false;
  open();
  EXPECT_TRUE(form3->GroupeMoteurMAP->isHidden());
  EXPECT_TRUE(form3->GroupeApprentissage->isHidden());
  form->AscomOK = true;
  open();
  EXPECT_TRUE(form3->GroupeMoteurMAP->isHidden());
  EXPECT_TRUE(form3->GroupeApprentissage->isHidden());
  EXPECT_FALSE(form3->GroupBox3->isHidden());
}

TEST_F(SettingsDialog, AboutButtonShowsTheAboutBoxModally) {
  open();
  bool wasModal = false;
  QTimer::singleShot(0, about.get(), [&] {
    wasModal = about->isVisible() && about->isModal();
    about->accept();
  });
  form3->BitBtn6->click();
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(about->isVisible());
}
