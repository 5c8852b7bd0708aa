#include <gtest/gtest.h>

#include "app_fixture.h"
#include "fake_ascom.h"

namespace {

const QList<bool> kNoDriver{false, false, false};
const QString kPulseKey = QStringLiteral("Software\\VB and VBA Program Settings\\Quorvane\\Settings");

class Connection : public ::testing::Test {
 protected:
  void SetUp() override {
    ascom.install(p.com);
    driver = ascom.addDriver(p.com, QStringLiteral("Fake.Focuser"), QStringLiteral("Focuser de test"));
    driver->position = 4200;
    form = makeForm(p, false);
    form->FocDriver = QStringLiteral("Fake.Focuser");
    for (TSpeedButton* b : {form->BoutonFocuserConnect, form->BoutonSTOP, form->BoutonRappelMAP}) b->setEnabled(true);
  }
  QStringList log() const { return form->MemoLog->Lines().mid(1); }  // after the version line
  // The connect, stop and recall buttons.
  QList<bool> driverButtons() const {
    return {form->BoutonFocuserConnect->isEnabled(), form->BoutonSTOP->isEnabled(),
            form->BoutonRappelMAP->isEnabled()};
  }
  QString boxText(size_t i) const { return ascom.boxes().at(i).args.at(0).value.toString(); }
  std::vector<TSpeedButton*> linkButtons() const {
    return {form->BoutonAVRapide, form->BoutonRERapide, form->BoutonAutofocus,
            form->BoutonRappelMAP, form->GoLimiteBasse, form->GoLimiteHaute};
  }

  TestPlatform p;
  FakeAscom ascom;
  std::shared_ptr<RecordingFocuser> driver;
  std::unique_ptr<TForm1> form;
};

TEST(ConnectionPlatform, AMissingOrOldPlatformLeavesNoDriver) {
  struct Case {
    QString version;  // "-": no platform, "!": the read fails
    QStringList log;
    QList<bool> buttons;
  };
  for (const Case& c :
       {Case{"-", {"Ascom non détecté"}, {false, false, true}},
        Case{"4.x", {"Ascom 4.x détecté", "Version Ascom < 5 : ERREUR"}, kNoDriver},
        Case{"!", {"Version Ascom : ERREUR"}, kNoDriver},
        Case{"v6", {"Ascom v6 détecté", "Version Ascom : ERREUR"}, kNoDriver}}) {
    SCOPED_TRACE(c.version.toStdString());
    TestPlatform q;
    FakeAscom platform;
    if (c.version != QLatin1String("-")) platform.install(q.com);
    platform.version = c.version;
    if (c.version == QLatin1String("!"))
      platform.versionError = [] { throw AutomationError(QStringLiteral("ASCOM"), QStringLiteral("échec"), 5); };
    auto f = makeForm(q, false);
    f->BoutonRappelMAP->setEnabled(true);
    f->FirstShowFocuser();
    EXPECT_EQ(f->MemoLog->Lines().mid(1), c.log);
    EXPECT_FALSE(f->AscomOK);
    EXPECT_FALSE(f->FocuserExists);
    EXPECT_EQ((QList<bool>{f->BoutonFocuserConnect->isEnabled(), f->BoutonSTOP->isEnabled(),
                           f->BoutonRappelMAP->isEnabled()}),
              c.buttons);
    EXPECT_EQ(f->LabelAscom->FontColor(), clRed);
    EXPECT_TRUE(f->LabelAscom->font().strikeOut());
  }
}

TEST_F(Connection, VersionTenPassesAndASecondRunLogsNoVersion) {
  ascom.version = QStringLiteral("10.0");
  form->LitRegistre(false);
  EXPECT_TRUE(form->AscomOK);
  EXPECT_EQ(log().value(0), QStringLiteral("Focuser de test"));
}

TEST_F(Connection, AnAbsoluteDriverIsLinkedAtTheFirstShow) {
  driver->maxIncrement = 700;
  form->xPositionMap = 3000;
  form->BoutonResetPos->show();
  form->FirstShowFocuser();
  EXPECT_EQ(log(), (QStringList{"Ascom 6.0 détecté", "Focuser de test", "  +-- Positionnement absolu",
                                "  +-- Taille du pas : 5 microns"}));
  EXPECT_EQ(form->Memo1->Lines(), (QStringList{"Focuser link : True", "Moteur MAP connecté"}));
  EXPECT_EQ(ascom.log.of(QStringLiteral("DeviceType")).at(0).args.at(0).value, Variant("Focuser"));
  EXPECT_EQ(driver->log.of(QStringLiteral("Link")).at(0).args.at(0).value, Variant(true));
  EXPECT_EQ(form->FocMaxIncrement, 700);
  EXPECT_EQ(form->LabelPosition->text(), QStringLiteral("4200"));
  EXPECT_EQ(form->EditFocuser->text(), QStringLiteral("Focuser de test"));
  EXPECT_EQ(form->EditFocuser->EditLabel()->text(), QStringLiteral("Moteur MAP connecté"));
  EXPECT_FALSE(form->BoutonResetPos->isVisibleTo(form.get()));
  EXPECT_TRUE(form->BoutonAVRapide->isEnabled() && form->BoutonRERapide->isEnabled());
  EXPECT_EQ(driverButtons(), (QList<bool>{true, true, true}));
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
  EXPECT_EQ(form->LabelPosition->text(), QStringLiteral("321"));
  EXPECT_TRUE(form->BoutonResetPos->isVisibleTo(form.get()));
}

TEST_F(Connection, TheChooserIsAskedForAFocuserByReferenceAndItsCancelEndsInTheCreationBox) {
  form->FocDriver.clear();
  form->LitRegistre(true);
  const auto choose = ascom.log.of(QStringLiteral("Choose"));
  ASSERT_EQ(choose.size(), 1u);
  EXPECT_EQ(choose[0].args.at(0).passing, Passing::Reference);
  EXPECT_EQ(ascom.log.of(QStringLiteral("devicetype")).at(1).object, QStringLiteral("DriverHelper.Chooser"));
  ASSERT_EQ(ascom.boxes().size(), 1u);
  const RecordedCall box = ascom.boxes()[0];
  EXPECT_EQ(box.args.at(0).value, Variant("Exception : Erreur de création Focuser \"\", erreur #0"));
  EXPECT_EQ(box.args.at(0).passing, Passing::Reference);
  EXPECT_EQ(box.args.at(1).value, Variant(48));
  EXPECT_EQ(box.args.at(2).value, Variant("Erreur de création focuser"));
  EXPECT_TRUE(form->AscomOK);
  EXPECT_FALSE(form->FocuserExists);
  EXPECT_EQ(driverButtons(), kNoDriver);

  ascom.chooserAnswers = {QStringLiteral("Fake.Focuser")};
  form->LitRegistre(true);
  EXPECT_EQ(form->FocDriver, QStringLiteral("Fake.Focuser"));
  EXPECT_TRUE(form->FocuserExists);
}

TEST_F(Connection, ACreationErrorShowsItsKindAndHelpContextAndLetsTheDriverHeldGo) {
  form->Focuser = AutomationRef(driver);
  p.com.registerClass(QStringLiteral("Broken.Focuser"), []() -> std::shared_ptr<Dispatch> {
    throw AutomationError(QStringLiteral("Broken"), QStringLiteral("Port série absent"), 1234);
  });
  for (const char* id : {"Broken.Focuser", "Absent.Focuser"}) {
    form->FocDriver = QString::fromLatin1(id);
    form->FirstShowFocuser();
  }
  EXPECT_EQ(boxText(0), QStringLiteral("Exception OLE : Erreur de création Focuser \"Broken.Focuser\", erreur #1234"));
  EXPECT_EQ(boxText(1), QStringLiteral("Exception : Erreur de création Focuser \"Absent.Focuser\", erreur #0"));
  EXPECT_TRUE(form->Focuser.isEmpty());
  EXPECT_FALSE(form->FocuserExists);
  EXPECT_EQ(form->LabelAscom->FontColor(), clGreen);  // the platform is there
  EXPECT_EQ(form->EditFocuser->EditLabel()->text(), QStringLiteral("Moteur MAP non connecté"));
}

TEST_F(Connection, OnlyTheExactFcusbIdentifierTakesItsStepSizeFromTheRegistry) {
  auto fcusb = ascom.addDriver(p.com, QStringLiteral("FCUSB.Focuser"), QStringLiteral("FCUSB"));
  p.registry.set(kPulseKey, QStringLiteral("PulseTime"), QStringLiteral("12"));
  form->FocDriver = QStringLiteral("FCUSB.Focuser");
  form->LitRegistre(true);
  EXPECT_EQ(fcusb->log.count(QStringLiteral("StepSize")), 0);
  EXPECT_EQ(fcusb->log.count(QStringLiteral("MaxIncrement")), 1);
  EXPECT_EQ(form->Memo1->Lines().value(0), QStringLiteral("FCUSB détecté, stepsize : 12"));
  EXPECT_EQ(log().mid(1, 5), (QStringList{"FCUSB détecté", "  +-- PulseTime 12", "FCUSB",
                                          "  +-- Positionnement absolu", "  +-- Taille du pas : 12 microns"}));

  form->FocDriver = QStringLiteral("fcusb.focuser");
  form->LitRegistre(true);
  EXPECT_EQ(fcusb->log.count(QStringLiteral("StepSize")), 1);
  EXPECT_EQ(form->FocStep, 5);
}

TEST_F(Connection, AnUnreadableStepSizeIsOneMicron) {
  ascom.addDriver(p.com, QStringLiteral("FCUSB.Focuser"), QStringLiteral("FCUSB"));
  form->FocDriver = QStringLiteral("FCUSB.Focuser");
  form->LitRegistre(true);  // no PulseTime at all
  p.registry.set(kPulseKey, QStringLiteral("PulseTime"), QStringLiteral("12 ms"));
  form->LitRegistre(true);
  EXPECT_EQ(log().count(QStringLiteral("  +-- PulseTime : ERREUR")), 2);
  EXPECT_EQ(log().count(QStringLiteral("  +-- Taille du pas : 1 microns")), 2);

  form->FocDriver = QStringLiteral("Fake.Focuser");
  driver->raise[QStringLiteral("StepSize")] = [](InvokeKind) { throw Exception(QStringLiteral("Nom inconnu")); };
  form->LitRegistre(true);
  EXPECT_EQ(form->FocStep, 1);
  EXPECT_TRUE(form->FocuserExists);
}

TEST_F(Connection, ALinkThatReadsBackFalseLeavesTheDriverUnlinked) {
  driver->linkFollowsWrites = false;
  for (TSpeedButton* b : linkButtons()) b->setEnabled(true);
  form->TimerTrackBar->setEnabled(true);
  form->FirstShowFocuser();
  EXPECT_EQ(form->Memo1->Lines(), (QStringList{"Focuser link : False", "Moteur MAP non connecté"}));
  EXPECT_FALSE(form->TimerTrackBar->Enabled());
  EXPECT_TRUE(form->FocuserExists);
  EXPECT_TRUE(form->BoutonFocuserConnect->isEnabled());
  EXPECT_EQ(form->EditFocuser->EditLabel()->text(), QStringLiteral("Moteur MAP non connecté"));
  for (TSpeedButton* b : linkButtons()) EXPECT_FALSE(b->isEnabled());
}

TEST_F(Connection, AnAutomationErrorWhileLinkingShowsTheConnectionBoxOnly) {
  driver->raise[QStringLiteral("Link")] = [](InvokeKind kind) {
    if (kind == InvokeKind::Put) throw AutomationError(QStringLiteral("Fake"), QStringLiteral("Port occupé"), 2);
  };
  form->LitRegistre(true);
  ASSERT_EQ(ascom.boxes().size(), 1u);
  EXPECT_EQ(boxText(0), QStringLiteral("Impossible de se connecter au focuser \"Focuser de test\"\n\r\n\r"
                                       "Vérifiez les branchements. Le focuser reste cependant sélectionné."));
  EXPECT_EQ(ascom.boxes()[0].args.at(2).value, Variant("Erreur de connexion"));
  EXPECT_TRUE(form->FocuserExists);
  EXPECT_TRUE(form->BoutonFocuserConnect->isEnabled());
}

TEST_F(Connection, AnErrorTheRoutineDoesNotHandleLeavesFlagsAndButtonsSayingWhatExists) {
  ascom.getValueError = [] { throw Exception(QStringLiteral("Profil illisible")); };
  form->show();  // the first show, through the error box
  EXPECT_EQ(p.dialogs.texts(QStringLiteral("ErrorBox")), QStringList{QStringLiteral("Profil illisible.")});
  EXPECT_TRUE(form->AscomOK);
  EXPECT_FALSE(form->FocuserExists);
  EXPECT_EQ(driverButtons(), kNoDriver);
  EXPECT_TRUE(driver->log.calls.empty());
}

TEST_F(Connection, TheConnectButtonTogglesTheLink) {
  form->FirstShowFocuser();
  form->BoutonFocuserConnect->click();
  RecordedCall toggle;
  for (const RecordedCall& c : driver->log.of(QStringLiteral("Link")))
    if (c.kind == InvokeKind::Put) toggle = c;
  EXPECT_EQ(toggle.kind, InvokeKind::Put);
  EXPECT_EQ(toggle.args.at(0).value, Variant(false));
  EXPECT_EQ(toggle.args.at(0).passing, Passing::VariantValue);
  EXPECT_EQ(form->EditFocuser->EditLabel()->text(), QStringLiteral("Moteur MAP non connecté"));
  EXPECT_FALSE(form->TimerTrackBar->Enabled());
  for (TSpeedButton* b : linkButtons()) EXPECT_FALSE(b->isEnabled());

  form->xIsEtoile = true;
  form->CheckBox1->setChecked(true);
  form->BoutonFocuserConnect->click();
  EXPECT_EQ(form->EditFocuser->EditLabel()->text(), QStringLiteral("Moteur MAP connecté"));
  EXPECT_TRUE(form->TimerTrackBar->Enabled());
  for (TSpeedButton* b : linkButtons()) EXPECT_TRUE(b->isEnabled());
}

TEST(ConnectionOnSimulator, TheSimulatorChosenAtTheFirstShowIsLinked) {
  TestPlatform p;
  installSimulator(p);
  p.dialogs.choices = {kFocusSimId};
  auto form = makeForm(p);
  EXPECT_EQ(form->FocName, QStringLiteral("Simulateur de focuser"));
  EXPECT_EQ(form->LabelPosition->text(), QStringLiteral("25000"));
  EXPECT_EQ(form->EditFocuser->EditLabel()->text(), QStringLiteral("Moteur MAP connecté"));
  EXPECT_TRUE(p.dialogs.texts(QStringLiteral("ErrorBox")).isEmpty());
}

}  // namespace
