// "Lance l'autofocus": the run it starts and the box that reports it.
#include <gtest/gtest.h>

#include <QTest>

#include "app_fixture.h"
#include "autofocus/launcher.h"
#include "autofocus_fixture.h"
#include "fake_ascom.h"
#include "platform/number_format.h"

namespace {

using V = std::vector<int>;

struct Launcher : ::testing::Test {
  TestPlatform p;
  FakeAscom ascom;
  std::unique_ptr<TForm1> form = makeForm(p);
  std::shared_ptr<RecordingFocuser> driver = std::make_shared<RecordingFocuser>();
  QList<double> script;
  std::function<void()> duringMeasure;

  void SetUp() override {
    prepareAutofocus(*form, driver);
    ascom.install(p.com);
  }
  void scripted(QList<double> values) {
    script = values;
    form->autofocusMeasure = [this](bool) {
      if (duringMeasure) duringMeasure();
      return script.isEmpty() ? 50.0 : script.takeFirst();
    };
  }
  // The one box shown: its text, icon flag and caption, as MessageBox got them.
  BoiteAutofocus box() const {
    const auto boxes = ascom.boxes();
    EXPECT_EQ(boxes.size(), 1u);
    if (boxes.empty()) return {};
    const RecordedCall& c = boxes.back();
    EXPECT_EQ(c.args.at(0).passing, Passing::Reference);
    return {c.args.at(0).value.toString(), c.args.at(1).value.toInt(), c.args.at(2).value.toString()};
  }
  int runsStarted() const { return form->MemoLog->Lines().count(QStringLiteral("Lancement autofocus")); }
};

}  // namespace

TEST(AutofocusReport, SaysHowTheRunEndedAndTheLastRealMeasure) {
  struct Case {
    FinAutofocus fin;
    bool tolerance, measured;
    QChar separator;
    QString text;
    int icon;
    QString caption;
  };
  const QString info = QStringLiteral("Information");
  for (const Case& c :
       {Case{FinAutofocus::Terminee, false, true, ',', "Autofocus terminé.\n\rFWHM mesuré = 4,1", 64, info},
        Case{FinAutofocus::Terminee, true, true, '.',
             "Autofocus terminé sur variation inférieure à la tolérance.\n\rFWHM mesuré = 4.1", 64, info},
        Case{FinAutofocus::Interrompue, false, true, ',', "Autofocus interrompu.\n\rFWHM mesuré = 4,1", 64, info},
        Case{FinAutofocus::Interrompue, false, false, ',', "Autofocus interrompu.", 64, info},
        Case{FinAutofocus::MoteurNonConnecte, false, true, ',',
             "Autofocus non lancé : le moteur de MAP n'est pas connecté.", 48, "Autofocus"},
        Case{FinAutofocus::SelectionDesactivee, false, true, ',',
             "Autofocus non lancé : la sélection d'étoile (On/off) est désactivée.", 48, "Autofocus"}}) {
    numfmt::SetDecimalSeparator(c.separator);
    const BoiteAutofocus b = boiteFinAutofocus(c.fin, c.tolerance, c.measured, 4.14);
    EXPECT_EQ(b.texte, c.text);
    EXPECT_EQ(b.icone, c.icon);
    EXPECT_EQ(b.titre, c.caption);
  }
}

TEST_F(Launcher, ARunThatCannotStartSaysWhyAndTouchesNothing) {
  struct Case {
    bool driverHeld, linked, picking;
    QString text;
    int methode = 0, lent = 2, rapide = 3, focStep = 5;  // a step of 0 would measure one place again and again
  };
  const QString motor = QStringLiteral("Autofocus non lancé : le moteur de MAP n'est pas connecté.");
  const QString lent = QStringLiteral("Autofocus non lancé : le pas lent (Mode lent) est nul.");
  const QString rapide = QStringLiteral("Autofocus non lancé : le pas rapide (Mode rapide) est nul.");
  const QString focuser = QStringLiteral("Autofocus non lancé : le pas du focuser est nul.");
  for (const Case& c :
       {Case{false, true, true, motor}, Case{true, false, true, motor},
        Case{true, true, false, "Autofocus non lancé : la sélection d'étoile (On/off) est désactivée."},
        Case{true, true, true, lent, 0, 0}, Case{true, true, true, lent, 1, 0},
        Case{true, true, true, rapide, 0, 2, 0}, Case{true, true, true, rapide, 1, 2, 0},
        Case{true, true, true, focuser, 1, 2, 3, 0}}) {
    ascom.log.calls.clear();
    form->Focuser = c.driverHeld ? AutomationRef(driver) : AutomationRef();
    driver->link = c.linked;
    form->CheckBox1->setChecked(c.picking);
    form->xMethode = c.methode;
    form->xPasLent = c.lent;
    form->xPasRapide = c.rapide;
    form->FocStep = c.focStep;
    scripted({36.6, 36.6});
    form->TimerSouris->setEnabled(true);
    form->fwhm_test = 7.7;
    form->BoutonAutofocusClick();
    EXPECT_EQ(box().texte, c.text);
    EXPECT_EQ(runsStarted(), 0);
    EXPECT_TRUE(form->TimerSouris->Enabled());
    EXPECT_DOUBLE_EQ(form->fwhm_test, 7.7);
  }
  EXPECT_TRUE(driver->moves().empty());
  EXPECT_TRUE(p.dialogs.texts(QStringLiteral("ErrorBox")).isEmpty());

  ModeFocus = QStringLiteral("Fin");  // the recall's quick run, by slow steps only
  form->xMethode = form->xPasRapide = 0;
  form->FocStep = 5;
  scripted({5.0, 4.0, 4.0});
  form->BoutonAutofocusClick();
  EXPECT_EQ(driver->moves().size(), 2u);
}

TEST_F(Launcher, ACompletedRunIsReportedAndItsPhaseCleared) {
  form->xTolerance = 3;
  form->xSortieTolerance = true;
  form->Label1->setText(QStringLiteral("Etape 3"));
  scripted({5.0, 4.0, 4.5, 4.0, 4.2, 4.1});
  QTest::mouseClick(form->BoutonAutofocus, Qt::LeftButton);  // disabled: nothing
  EXPECT_TRUE(ascom.boxes().empty());
  form->BoutonAutofocus->setEnabled(true);
  QTest::mouseClick(form->BoutonAutofocus, Qt::LeftButton);
  const BoiteAutofocus b = box();
  EXPECT_EQ(b.texte, QStringLiteral("Autofocus terminé.\n\rFWHM mesuré = 4,1"));
  EXPECT_EQ(std::pair(b.icone, b.titre), std::pair(64, QStringLiteral("Information")));
  EXPECT_EQ(form->Label1->text(), QString());
  EXPECT_FALSE(form->AutofocusUnderWay());
}

TEST_F(Launcher, AnAbandonedPromptIsAnInterruptionReportingTheLastRealMeasure) {
  form->xManuel = true;
  form->xTaille = 30;
  p.dialogs.answers = {ModalResult::Abort};
  form->BoutonAutofocusClick();  // the real measurement, of an empty square
  EXPECT_EQ(p.dialogs.texts(QStringLiteral("MessageDlg")).size(), 1);
  EXPECT_EQ(driver->moves().size(), 1u);
  EXPECT_TRUE(Halt);
  EXPECT_EQ(box().texte, QStringLiteral("Autofocus interrompu.\n\rFWHM mesuré = ") + form->LabelFWHM->text());
  EXPECT_NE(form->LabelFWHM->text(), QStringLiteral("99,0"));
}

TEST_F(Launcher, ClicksServedDuringARunStartNoRunOrMoveInsideIt) {
  form->xPositionMap = 2000;
  form->xLimiteBasse = 100;
  form->xLimiteHaute = 3000;
  form->xIsEtoile = true;
  for (TSpeedButton* b : {form->BoutonAutofocus, form->BoutonAVRapide, form->BoutonRERapide, form->GoLimiteBasse,
                          form->GoLimiteHaute, form->BoutonRappelMAP})
    b->setEnabled(true);
  bool clicked = false;
  duringMeasure = [&] {
    if (clicked) return;
    clicked = true;
    for (TSpeedButton* b : {form->BoutonAutofocus, form->BoutonAVRapide, form->BoutonRERapide, form->GoLimiteBasse,
                            form->GoLimiteHaute, form->BoutonRappelMAP})
      b->click();
    QTest::mousePress(form->BoutonAVLent, Qt::LeftButton);
    QTest::mouseRelease(form->BoutonAVLent, Qt::LeftButton);
  };
  scripted({5.0, 4.0, 4.0});
  form->BoutonAutofocusClick();
  EXPECT_EQ(runsStarted(), 1);
  EXPECT_EQ(driver->moves().size(), 2u);
  EXPECT_TRUE(p.dialogs.texts(QStringLiteral("MessageDlg")).isEmpty());  // no recall question
  EXPECT_EQ(box().texte,
            QStringLiteral("Autofocus terminé sur variation inférieure à la tolérance.\n\rFWHM mesuré = 4,0"));
}

TEST_F(Launcher, AMoveTheFocuserNeverEndsIsGivenUpAndEndsTheRunAsAFailure) {
  const QString failed = QStringLiteral("Autofocus échoué : déplacement abandonné.");
  for (const auto& [methode, stuck] : {std::pair(0, 1), {0, 3}, {1, 1}, {1, 3}}) {  // stuck: the move never ending
    ascom.log.calls.clear();
    driver->log.calls.clear();
    form->xMethode = methode;
    int measures = 0;
    duringMeasure = [&] { driver->movingAnswers = ++measures == stuck ? INT32_MAX : 0; };
    scripted({9.0, 8.0, 7.0, 6.0, 5.0});
    form->BoutonAutofocusClick();
    EXPECT_EQ(driver->moves().size(), size_t(stuck)) << methode;
    EXPECT_EQ(form->MemoLog->Lines().last(), failed);
    const BoiteAutofocus b = box();
    EXPECT_EQ(std::tuple(b.texte, b.icone, b.titre), std::tuple(failed, 48, QStringLiteral("Autofocus")));
  }
}

TEST_F(Launcher, ClosingDuringARunEndsItWithNoFurtherMoveLineOrBox) {
  int measures = 0;
  duringMeasure = [&] {
    if (++measures == 3) Application->Terminate();
  };
  scripted({8.0, 7.0, 6.0});
  form->BoutonAutofocusClick();
  EXPECT_EQ(driver->moves().size(), 2u);
  EXPECT_EQ(form->MemoLog->Lines().last(), QStringLiteral("fwhm ini = 8,0"));
  EXPECT_TRUE(ascom.boxes().empty());
}
