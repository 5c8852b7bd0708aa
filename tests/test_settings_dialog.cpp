#include <QComboBox>
#include <QGroupBox>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/controls.h"
#include "platform/controls_dialog.h"
#include "platform/number_format.h"
#include "settings_fixture.h"
#include "text_room.h"

namespace {
struct SettingsDialog : ::testing::Test, SettingsFixture {
  ~SettingsDialog() override { numfmt::SetDecimalSeparator(QLatin1Char('.')); }
  QStringList errors() const { return p.dialogs.texts(QStringLiteral("ErrorBox")); }
};
}  // namespace

TEST_F(SettingsDialog, LearningBoxesAreLightGreenExactlyWhenTheyHoldAValue) {
  form->xLimiteBasse = -150;
  form->xLimiteHaute = 4000;
  form->xPositionMap = 2100;
  open();
  EXPECT_EQ(form3->LimiteBasse->text(), "-150");
  for (TLabeledEdit* box : {form3->LimiteBasse, form3->LimiteHaute, form3->PointDeMap})
    EXPECT_EQ(box->Color(), clLightGreen);
  form->xLimiteBasse = 0;
  form->xLimiteHaute = 99999;
  form->xPositionMap = 0;
  open();
  EXPECT_EQ(form3->LimiteHaute->text(), "99999");
  for (TLabeledEdit* box : {form3->LimiteBasse, form3->LimiteHaute, form3->PointDeMap})
    EXPECT_EQ(box->Color(), clWindow);
}

TEST_F(SettingsDialog, PickingIntraExtraEnablesTheTargetStoresTheMethodAndLogsIt) {
  form->xMethode = 0;
  open();
  EXPECT_FALSE(form3->MaskEdit1->isEnabled());
  const int debugLines = form->Memo1->Lines().size();
  QTest::keyClick(form3->ComboBox1, Qt::Key_Down);
  EXPECT_EQ(form->xMethode, 1);
  EXPECT_TRUE(form3->MaskEdit1->isEnabled());
  EXPECT_TRUE(form3->Label5->isEnabled());
  EXPECT_EQ(form->Memo1->Lines().mid(debugLines),
            QStringList{QStringLiteral("Méthode Autofocus : Moyenne intra/extra focale")});

  form->xMethode = 2;  // outside the list: nothing selected, the target greyed
  open();
  EXPECT_EQ(form3->ComboBox1->currentIndex(), -1);
  EXPECT_FALSE(form3->MaskEdit1->isEnabled());
}

TEST_F(SettingsDialog, TargetIsShownRoundedInTheLocaleAndStoredAsShown) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  form->xCible = 1.2345;
  open();
  EXPECT_EQ(form3->MaskEdit1->text(), QStringLiteral("1,23"));
  EXPECT_DOUBLE_EQ(form->xCible, 1.23);
}

TEST_F(SettingsDialog, TargetTextThatIsNoNumberIsReportedAndKeepsTheTarget) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  form->xCible = 1.5;
  open();
  form3->MaskEdit1->clear();
  form3->MaskEdit1->setText("2.5");  // a point where the locale has a comma
  EXPECT_EQ(errors(), (QStringList{QStringLiteral("'' n'est pas une valeur en virgule flottante correcte."),
                                   QStringLiteral("'2.5' n'est pas une valeur en virgule flottante correcte.")}));
  EXPECT_DOUBLE_EQ(form->xCible, 1.5);
}

TEST_F(SettingsDialog, SizeTypedAsFiftyCountsAsTwentyOnTheWayThenForty) {
  open();
  form3->SpinEdit1->clear();
  QTest::keyClick(form3->SpinEdit1, Qt::Key_5);
  EXPECT_EQ(form->xTaille, 20);
  EXPECT_EQ(form3->Shape1->size(), QSize(20, 20));
  QTest::keyClick(form3->SpinEdit1, Qt::Key_0);
  EXPECT_EQ(form->xTaille, 40);
  EXPECT_EQ(form3->Shape1->geometry(), QRect(12, 36, 40, 40));
}

TEST_F(SettingsDialog, UpAndDownKeysStepEachUpDownEditWithinItsRangeAsItsArrowsDo) {
  open();
  for (TUpDown* upDown : {form3->UpDown1, form3->UpDownLent, form3->UpDownRapide, form3->UpDownMesures,
                          form3->UpDown2}) {
    QLineEdit* edit = upDown->Associate();
    edit->clear();
    QTest::keyClicks(edit, QString::number(upDown->Max() - 1));
    for (auto key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}) QTest::keyClick(edit, key);
    EXPECT_EQ(edit->text(), QString::number(upDown->Max() - 2)) << qPrintable(edit->toolTip());
  }
  QTest::keyClick(form3->EditMesures, Qt::Key_Up);  // "Nbre de mesures" stores each step at once
  EXPECT_EQ(form->xNbMesures, 9);
}

TEST_F(SettingsDialog, EveryTextShowsWholeInItsControlAtTheWidestValues) {
  open();
  for (TUpDown* upDown : {form3->UpDown1, form3->UpDownLent, form3->UpDownRapide, form3->UpDownMesures,
                          form3->UpDown2})
    upDown->setPosition(upDown->Max());
  form3->SpinEdit1->setValue(form3->SpinEdit1->MaxValue());
  // "FWHM cible": the widest target below 100 pixels (a FWHM measured in a
  // square of at most 40), in either locale.
  EXPECT_EQ(textsCutOff(*form3, {{form3->LimiteBasse, QStringLiteral("-9999")},
                                 {form3->MaskEdit1, QStringLiteral("99,90")},
                                 {form3->MaskEdit1, QStringLiteral("99.90")}}),
            QStringList());
}

TEST_F(SettingsDialog, WithoutThePlatformTheDriverAndLearningGroupsStayHiddenForTheRun) {
  form->AscomOK = false;
  open();
  form->AscomOK = true;
  open();
  EXPECT_TRUE(form3->GroupeMoteurMAP->isHidden());
  EXPECT_TRUE(form3->GroupeApprentissage->isHidden());
}

// Each control offers the range its setting has in the settings table, the
// one a read brings a value within: after a hand-edited method the list shows
// the first, and OK keeps it.
TEST_F(SettingsDialog, EachControlOffersItsSettingsRangeAndOkKeepsTheMethodAHandEditedFileGave) {
  for (auto [upDown, range] : {std::pair{form3->UpDown2, rangeOf(&SettingsRecord::xDelaiAutofocus)},
                               std::pair{form3->UpDown1, rangeOf(&SettingsRecord::xTolerance)},
                               std::pair{form3->UpDownLent, rangeOf(&SettingsRecord::xPasLent)},
                               std::pair{form3->UpDownRapide, rangeOf(&SettingsRecord::xPasRapide)},
                               std::pair{form3->UpDownMesures, rangeOf(&SettingsRecord::xNbMesures)}})
    EXPECT_EQ(std::pair(upDown->Min(), upDown->Max()), std::pair(range.low, range.high));
  constexpr ValueRange taille = rangeOf(&SettingsRecord::xTaille);
  EXPECT_EQ(std::pair(form3->SpinEdit1->MinValue(), form3->SpinEdit1->MaxValue()), std::pair(taille.low, taille.high));

  p.writeIni("[Autofocus]\nM\xE9thode=7\n");
  form->LitFichierIni();
  runSetup([](TForm3&) {}, true);
  EXPECT_EQ(form->xMethode, 0);
}
