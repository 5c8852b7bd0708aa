#include <gtest/gtest.h>

#include "app_fixture.h"
#include "fake_ascom.h"

namespace {

const QString kPulseKey = QStringLiteral("Software\\VB and VBA Program Settings\\Quorvane\\Settings");

class Connection : public ::testing::Test {
 protected:
  void SetUp() override {
    ascom.install(p.com);
    driver = ascom.addDriver(p.com, QStringLiteral("Fake.Focuser"), QStringLiteral("Focuser de test"));
    driver->position = 4200;
    form = makeForm(p, false);
    form->FocDriver = QStringLiteral("Fake.Focuser");
  }

  QStringList log() const { return form->MemoLog->Lines().mid(1); }  // after the version line
  bool noDriverButtons() const {
    return !form->BoutonFocuserConnect->isEnabled() && !form->BoutonSTOP->isEnabled();
  }
  void enableAll() {
    for (TSpeedButton* b : {form->BoutonFocuserConnect, form->BoutonSTOP, form->BoutonRappelMAP}) b->setEnabled(true);
  }

  TestPlatform p;
  FakeAscom ascom;
  std::shared_ptr<RecordingFocuser> driver;
  std::unique_ptr<TForm1> form;
};

// ---- The platform ----

TEST_F(Connection, AMissingPlatformIsLoggedAndLeavesNoDriver) {
  p.com.unregisterClass(QStringLiteral("ASCOM.Utilities.Util"));
  enableAll();
  form->FirstShowFocuser();
  EXPECT_EQ(log(), QStringList{QStringLiteral("Ascom non détecté")});
  EXPECT_FALSE(form->AscomOK);
  EXPECT_FALSE(form->FocuserExists);
  EXPECT_TRUE(noDriverButtons());
  EXPECT_TRUE(form->BoutonRappelMAP->isEnabled());
  EXPECT_EQ(form->LabelAscom->FontColor(), clRed);
  EXPECT_TRUE(form->LabelAscom->font().strikeOut());
  EXPECT_TRUE(form->LabelAscom->font().bold());
  EXPECT_TRUE(driver->log.calls.empty());
}

TEST_F(Connection, AVersionBelowFiveIsRefusedByItsLeadingNumber) {
  ascom.version = QStringLiteral("4.x");
  enableAll();
  form->LitRegistre(true);
  EXPECT_EQ(log(), (QStringList{QStringLiteral("Ascom 4.x détecté"), QStringLiteral("Version Ascom < 5 : ERREUR")}));
  EXPECT_FALSE(form->AscomOK);
  EXPECT_FALSE(form->FocuserExists);
  EXPECT_TRUE(noDriverButtons());
  EXPECT_FALSE(form->BoutonRappelMAP->isEnabled());
  EXPECT_TRUE(driver->log.calls.empty());
}

TEST_F(Connection, VersionTenPasses) {
  ascom.version = QStringLiteral("10.0");
  form->LitRegistre(true);
  EXPECT_TRUE(form->AscomOK);
  EXPECT_TRUE(form->FocuserExists);
  EXPECT_EQ(form->VersionAscom, QStringLiteral("10.0"));
}

TEST_F(Connection, AVersionReadThatFailsOrIsNoNumberIsAVersionError) {
  ascom.versionError = [] { throw AutomationError(QStringLiteral("ASCOM"), QStringLiteral("échec"), 5); };
  form->LitRegistre(true);
  EXPECT_EQ(log(), QStringList{QStringLiteral("Version Ascom : ERREUR")});
  EXPECT_FALSE(form->AscomOK);

  ascom.versionError = nullptr;
  ascom.version = QStringLiteral("v6");
  form->LitRegistre(true);
  EXPECT_EQ(log().mid(1),
            (QStringList{QStringLiteral("Ascom v6 détecté"), QStringLiteral("Version Ascom : ERREUR")}));
  EXPECT_FALSE(form->AscomOK);
  EXPECT_FALSE(form->FocuserExists);
  EXPECT_TRUE(driver->log.calls.empty());
}

TEST_F(Connection, ASecondRunLogsNoVersionLine) {
  form->LitRegistre(false);
  EXPECT_EQ(log().value(0), QStringLiteral("Focuser de test"));
}

// ---- Choosing and creating the driver ----

TEST_F(Connection, TheChooserAsksForAFocuserAndItsAnswerIsKept) {
  form->FocDriver.clear();
  ascom.chooserAnswers = {QStringLiteral("Fake.Focuser")};
  form->LitRegistre(true);
  const auto type = ascom.log.of(QStringLiteral("devicetype"));
  ASSERT_EQ(type.size(), 2u);  // the profile's DeviceType, then the chooser's
  EXPECT_EQ(type[1].object, QStringLiteral("DriverHelper.Chooser"));
  EXPECT_EQ(type[1].args.at(0).value, Variant("Focuser"));
  const auto choose = ascom.log.of(QStringLiteral("Choose"));
  ASSERT_EQ(choose.size(), 1u);
  EXPECT_EQ(choose[0].args.at(0).passing, Passing::Reference);
  EXPECT_EQ(form->FocDriver, QStringLiteral("Fake.Focuser"));
  EXPECT_EQ(form->FocName, QStringLiteral("Focuser de test"));
  EXPECT_TRUE(form->FocuserExists);
}

TEST_F(Connection, ACancelledChooserEndsInTheCreationBoxWithTwoQuotes) {
  form->FocDriver.clear();
  enableAll();
  form->LitRegistre(true);
  const auto boxes = ascom.boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].args.at(0).value, Variant("Exception : Erreur de création Focuser \"\", erreur #0"));
  EXPECT_EQ(boxes[0].args.at(0).passing, Passing::Reference);
  EXPECT_EQ(boxes[0].args.at(1).value, Variant(48));
  EXPECT_EQ(boxes[0].args.at(2).value, Variant("Erreur de création focuser"));
  EXPECT_TRUE(form->AscomOK);
  EXPECT_FALSE(form->FocuserExists);
  EXPECT_TRUE(noDriverButtons());
  EXPECT_FALSE(form->BoutonRappelMAP->isEnabled());
}

TEST_F(Connection, ACreationErrorOfTheDriverShowsItsHelpContextAndKeepsTheDriverHeld) {
  auto held = std::make_shared<RecordingFocuser>();
  form->Focuser = AutomationRef(held);
  form->FocDriver = QStringLiteral("Broken.Focuser");
  p.com.registerClass(QStringLiteral("Broken.Focuser"), []() -> std::shared_ptr<Dispatch> {
    throw AutomationError(QStringLiteral("Broken"), QStringLiteral("Port série absent"), 1234);
  });
  form->LitRegistre(true);
  ASSERT_EQ(ascom.boxes().size(), 1u);
  EXPECT_EQ(ascom.boxes()[0].args.at(0).value,
            Variant("Exception OLE : Erreur de création Focuser \"Broken.Focuser\", erreur #1234"));
  EXPECT_EQ(form->Focuser.object(), held.get());
  EXPECT_FALSE(form->FocuserExists);

  form->FocDriver = QStringLiteral("Absent.Focuser");
  form->LitRegistre(true);
  ASSERT_EQ(ascom.boxes().size(), 2u);
  EXPECT_EQ(ascom.boxes()[1].args.at(0).value,
            Variant("Exception : Erreur de création Focuser \"Absent.Focuser\", erreur #0"));
}

// ---- Capabilities ----

TEST_F(Connection, TheFcusbTakesItsStepSizeFromTheRegistry) {
  auto fcusb = ascom.addDriver(p.com, QStringLiteral("FCUSB.Focuser"), QStringLiteral("FCUSB"));
  p.registry.set(kPulseKey, QStringLiteral("PulseTime"), QStringLiteral("12"));
  form->FocDriver = QStringLiteral("FCUSB.Focuser");
  form->LitRegistre(true);
  EXPECT_EQ(form->FocStep, 12);
  EXPECT_EQ(fcusb->log.count(QStringLiteral("StepSize")), 0);
  EXPECT_EQ(fcusb->log.count(QStringLiteral("MaxIncrement")), 1);
  EXPECT_EQ(form->Memo1->Lines().value(0), QStringLiteral("FCUSB détecté, stepsize : 12"));
  EXPECT_EQ(log().mid(1, 5), (QStringList{QStringLiteral("FCUSB détecté"), QStringLiteral("  +-- PulseTime 12"),
                                          QStringLiteral("FCUSB"), QStringLiteral("  +-- Positionnement absolu"),
                                          QStringLiteral("  +-- Taille du pas : 12 microns")}));
}

TEST_F(Connection, AnIdentifierDifferingInLetterCaseIsNoFcusb) {
  auto fcusb = ascom.addDriver(p.com, QStringLiteral("FCUSB.Focuser"), QStringLiteral("FCUSB"));
  p.registry.set(kPulseKey, QStringLiteral("PulseTime"), QStringLiteral("12"));
  form->FocDriver = QStringLiteral("fcusb.focuser");
  form->LitRegistre(true);
  EXPECT_EQ(fcusb->log.count(QStringLiteral("StepSize")), 1);
  EXPECT_EQ(form->FocStep, 5);
  EXPECT_FALSE(form->MemoLog->Lines().contains(QStringLiteral("FCUSB détecté")));
}

TEST_F(Connection, AMissingOrBadPulseTimeIsLoggedAndTheDriverStillComes) {
  ascom.addDriver(p.com, QStringLiteral("FCUSB.Focuser"), QStringLiteral("FCUSB"));
  form->FocDriver = QStringLiteral("FCUSB.Focuser");
  for (const char* stored : {static_cast<const char*>(nullptr), "12 ms"}) {
    if (stored) p.registry.set(kPulseKey, QStringLiteral("PulseTime"), QString::fromUtf8(stored));
    form->MemoLog->clear();
    form->LitRegistre(true);
    EXPECT_TRUE(form->MemoLog->Lines().contains(QStringLiteral("  +-- PulseTime : ERREUR")));
    EXPECT_TRUE(form->MemoLog->Lines().contains(QStringLiteral("  +-- Taille du pas : 1 microns")));
    EXPECT_EQ(form->FocStep, 1);
    EXPECT_TRUE(form->FocuserExists);
  }
}

TEST_F(Connection, AStepSizeThatCannotBeReadIsOneMicron) {
  driver->raise[QStringLiteral("StepSize")] = [](InvokeKind) { throw Exception(QStringLiteral("Nom inconnu")); };
  form->LitRegistre(true);
  EXPECT_EQ(form->FocStep, 1);
  EXPECT_TRUE(form->FocuserExists);
}

// ---- Linking ----

TEST_F(Connection, AnAbsoluteDriverIsLinkedAtTheFirstShow) {
  driver->maxIncrement = 700;
  form->xPositionMap = 3000;
  form->BoutonResetPos->show();
  form->FirstShowFocuser();
  EXPECT_EQ(log(), (QStringList{QStringLiteral("Ascom 6.0 détecté"), QStringLiteral("Focuser de test"),
                                QStringLiteral("  +-- Positionnement absolu"),
                                QStringLiteral("  +-- Taille du pas : 5 microns")}));
  EXPECT_EQ(form->Memo1->Lines(),
            (QStringList{QStringLiteral("Focuser link : True"), QStringLiteral("Moteur MAP connecté")}));
  EXPECT_EQ(driver->log.of(QStringLiteral("Link")).front().args.at(0).value, Variant(true));
  EXPECT_EQ(form->FocMaxIncrement, 700);
  EXPECT_EQ(form->xPosition, 4200);
  EXPECT_EQ(form->LabelPosition->text(), QStringLiteral("4200"));
  EXPECT_EQ(form->EditFocuser->text(), QStringLiteral("Focuser de test"));
  EXPECT_EQ(form->EditFocuser->EditLabel()->text(), QStringLiteral("Moteur MAP connecté"));
  EXPECT_FALSE(form->BoutonResetPos->isVisibleTo(form.get()));
  EXPECT_TRUE(form->BoutonAVRapide->isEnabled());
  EXPECT_TRUE(form->BoutonRERapide->isEnabled());
  EXPECT_TRUE(form->BoutonRappelMAP->isEnabled());
  EXPECT_TRUE(form->BoutonFocuserConnect->isEnabled());
  EXPECT_TRUE(form->TimerTrackBar->Enabled());
  EXPECT_EQ(form->LabelAscom->FontColor(), clGreen);
  EXPECT_FALSE(form->LabelAscom->font().strikeOut());
  EXPECT_TRUE(form->LabelAscom->font().bold());
}

TEST_F(Connection, ARelativeDriverKeepsThePositionFromTheSettings) {
  driver->absolute = false;
  form->xPosition = 321;
  form->FirstShowFocuser();
  EXPECT_TRUE(log().contains(QStringLiteral("  +-- Positionnement relatif")));
  EXPECT_EQ(driver->log.count(QStringLiteral("Position")), 0);
  EXPECT_EQ(form->xPosition, 321);
  EXPECT_EQ(form->LabelPosition->text(), QStringLiteral("321"));
  EXPECT_TRUE(form->BoutonResetPos->isVisibleTo(form.get()));
  EXPECT_FALSE(form->BoutonRappelMAP->isEnabled());  // no focus position stored
}

TEST_F(Connection, ALinkThatReadsBackFalseLeavesTheDriverUnlinked) {
  driver->linkFollowsWrites = false;
  for (TSpeedButton* b : {form->BoutonAutofocus, form->GoLimiteBasse, form->GoLimiteHaute, form->BoutonRappelMAP})
    b->setEnabled(true);
  form->TimerTrackBar->setEnabled(true);
  form->FirstShowFocuser();
  EXPECT_EQ(form->Memo1->Lines(),
            (QStringList{QStringLiteral("Focuser link : False"), QStringLiteral("Moteur MAP non connecté")}));
  EXPECT_FALSE(form->TimerTrackBar->Enabled());
  EXPECT_TRUE(form->FocuserExists);
  EXPECT_EQ(form->EditFocuser->EditLabel()->text(), QStringLiteral("Moteur MAP non connecté"));
  for (TSpeedButton* b : {form->BoutonAVRapide, form->BoutonRERapide, form->BoutonAutofocus, form->BoutonRappelMAP,
                          form->GoLimiteBasse, form->GoLimiteHaute})
    EXPECT_FALSE(b->isEnabled());
  EXPECT_TRUE(form->BoutonFocuserConnect->isEnabled());
}

TEST_F(Connection, AnAutomationErrorWhileLinkingShowsTheConnectionBoxOnly) {
  driver->raise[QStringLiteral("Link")] = [](InvokeKind kind) {
    if (kind == InvokeKind::Put) throw AutomationError(QStringLiteral("Fake"), QStringLiteral("Port occupé"), 2);
  };
  form->LitRegistre(true);
  const auto boxes = ascom.boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].args.at(0).value,
            Variant("Impossible de se connecter au focuser \"Focuser de test\"\n\r\n\r"
                    "Vérifiez les branchements. Le focuser reste cependant sélectionné."));
  EXPECT_EQ(boxes[0].args.at(1).value, Variant(48));
  EXPECT_EQ(boxes[0].args.at(2).value, Variant("Erreur de connexion"));
  EXPECT_TRUE(form->FocuserExists);
  EXPECT_TRUE(form->BoutonFocuserConnect->isEnabled());
  EXPECT_TRUE(log().contains(QStringLiteral("  +-- Taille du pas : 5 microns")));
}

TEST_F(Connection, ThePlatformFoundButNoDriverTurnsTheLabelGreenAndNothingElse) {
  form->FocDriver = QStringLiteral("Absent.Focuser");
  form->FirstShowFocuser();
  EXPECT_EQ(form->LabelAscom->FontColor(), clGreen);
  EXPECT_EQ(form->EditFocuser->EditLabel()->text(), QStringLiteral("Moteur MAP"));
  EXPECT_TRUE(form->Memo1->Lines().isEmpty());
}

TEST_F(Connection, AnErrorTheRoutineDoesNotHandleLeavesFlagsAndButtonsSayingWhatExists) {
  ascom.getValueError = [] { throw Exception(QStringLiteral("Profil illisible")); };
  enableAll();
  form->show();  // the first show, through the error box
  ASSERT_EQ(p.dialogs.texts(QStringLiteral("ErrorBox")), QStringList{QStringLiteral("Profil illisible.")});
  EXPECT_TRUE(form->AscomOK);
  EXPECT_FALSE(form->FocuserExists);
  EXPECT_TRUE(noDriverButtons());
  EXPECT_FALSE(form->BoutonRappelMAP->isEnabled());
  EXPECT_TRUE(driver->log.calls.empty());
  EXPECT_EQ(form->LabelAscom->FontColor(), clBlack);  // the rest of the first show is skipped
}

// ---- The connect button ----

TEST_F(Connection, TheConnectButtonTogglesTheLink) {
  form->FirstShowFocuser();
  form->BoutonFocuserConnect->click();
  const auto writes = driver->log.of(QStringLiteral("Link"));
  const RecordedCall& toggle = *std::find_if(writes.rbegin(), writes.rend(),
                                             [](const RecordedCall& c) { return c.kind == InvokeKind::Put; });
  EXPECT_EQ(toggle.args.at(0).value, Variant(false));
  EXPECT_EQ(toggle.args.at(0).passing, Passing::VariantValue);
  EXPECT_EQ(form->EditFocuser->EditLabel()->text(), QStringLiteral("Moteur MAP non connecté"));
  EXPECT_FALSE(form->TimerTrackBar->Enabled());
  for (TSpeedButton* b : {form->BoutonAVRapide, form->BoutonRERapide, form->BoutonAutofocus, form->BoutonRappelMAP,
                          form->GoLimiteBasse, form->GoLimiteHaute})
    EXPECT_FALSE(b->isEnabled());

  form->xIsEtoile = true;
  form->CheckBox1->setChecked(true);
  form->BoutonFocuserConnect->click();
  EXPECT_EQ(form->EditFocuser->EditLabel()->text(), QStringLiteral("Moteur MAP connecté"));
  EXPECT_TRUE(form->TimerTrackBar->Enabled());
  for (TSpeedButton* b : {form->BoutonAVRapide, form->BoutonRERapide, form->BoutonAutofocus, form->BoutonRappelMAP,
                          form->GoLimiteBasse, form->GoLimiteHaute})
    EXPECT_TRUE(b->isEnabled());
}

TEST(ConnectionOnSimulator, TheSimulatorChosenInTheChooserIsLinkedAtTheFirstShow) {
  TestPlatform q;
  auto sim = installSimulator(q);
  q.dialogs.choices = {kFocusSimId};
  auto f = makeForm(q);  // the first show
  EXPECT_EQ(q.dialogs.texts(QStringLiteral("Chooser")), QStringList{QString()});
  EXPECT_EQ(f->FocDriver, kFocusSimId);
  EXPECT_EQ(f->FocName, QStringLiteral("Simulateur de focuser"));
  EXPECT_EQ(f->xPosition, 25000);
  EXPECT_EQ(f->LabelPosition->text(), QStringLiteral("25000"));
  EXPECT_EQ(f->EditFocuser->EditLabel()->text(), QStringLiteral("Moteur MAP connecté"));
  EXPECT_TRUE(q.dialogs.texts(QStringLiteral("ErrorBox")).isEmpty());
}

}  // namespace
