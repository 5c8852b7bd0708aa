#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <array>

#include "autofocus/running_autofocus.h"
#include "fake_ascom.h"
#include "platform/controls.h"
#include "platform/controls_dialog.h"
#include "platform/focuser_sim.h"
#include "settings_fixture.h"
#include "synthetic_star.h"
#include "virtual_timers.h"
#include "scripted_dialogs.h"

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

// Clicks into the box, selects its text and types `text` over it, key by key.
void retype(QLineEdit* box, const char* text) {
  QTest::mouseClick(box, Qt::LeftButton);
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(box, text);
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

TEST_F(SetupButton, OkTakesANumberTypedWithinTheRangeAndKeepsThePositionForOneBeyondIt) {
  // Each number of the first row is beyond its range, its first digit within.
  for (auto [typed, stored] : {std::pair(std::array{"15", "10", "150", "96", "12"}, std::tuple(2, 2, 3, 4, 2)),
                               {std::array{"7", "6", "120", "95", "8"}, std::tuple(7, 6, 120, 95, 8)}}) {
    runSetup(
        [&](TForm3& d) {
          const std::array<QLineEdit*, 5> boxes{d.PasLent, d.Tolerance, d.Delai_Autofocus, d.PasRapide, d.EditMesures};
          for (size_t i = 0; i < boxes.size(); ++i) retype(boxes[i], typed[i]);
          QTest::keyClick(d.EditMesures, Qt::Key_Return);  // OK, the focus still in the box
        },
        false);
    EXPECT_EQ(std::tuple(form->xPasLent, form->xTolerance, form->xDelaiAutofocus, form->xPasRapide, form->xNbMesures),
              stored);
  }
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
    const RunningAutofocus run(*form);
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

TEST_F(SetupButton, ASecondOpeningWhileAHandOverWaitsShowsWhatItHoldsAndItsOkReplacesIt) {
  holdDriver(true);
  {
    const RunningAutofocus run(*form);
    runSetup([](TForm3& d) { d.PasLent->setText("7"); }, true);  // kept back
    runSetup(
        [](TForm3& d) {
          EXPECT_EQ(d.PasLent->text(), "7");
          d.Tolerance->setText("5");
          d.BoutonSelection->click();  // cancelled: this OK reconnects nothing, so it waits for nothing
        },
        true);
    EXPECT_EQ(std::tuple(form->xPasLent, form->xTolerance), std::tuple(7, 5));
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(std::tuple(form->xPasLent, form->xTolerance), std::tuple(7, 5));
  EXPECT_FALSE(form->FocuserExists);
}

TEST_F(SetupButton, ClosingBeforeAWaitingHandOverKeepsItsValuesInTheSettingsFile) {
  const auto driver = holdDriver(true);
  {
    const RunningAutofocus run(*form);
    runSetup([](TForm3& d) { d.PasLent->setText("7"); }, true);
    form->close();  // the run's waits end on it
  }
  QCoreApplication::processEvents();
  EXPECT_TRUE(p.readIni().contains("LowSpeed=7\r\n"));
  EXPECT_EQ(driver->calls.filter("Halt").size(), 1);
  EXPECT_TRUE(form->FocuserExists);  // nothing reconnected
}

namespace {

// The simulator's driver, numbered in the order the program creates its
// driver objects, noting each Move and Halt with that number.
class NumberedDriver : public Dispatch {
 public:
  NumberedDriver(std::shared_ptr<FocusSimMotor> motor, int number, QStringList& events)
      : driver_(std::move(motor), {}), number_(number), events_(events) {}
  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) override {
    if (isMember(member, "Move"))
      events_ << QStringLiteral("%1: Move %2").arg(number_).arg(argumentAt(args, 0).toInt());
    if (isMember(member, "Halt")) events_ << QStringLiteral("%1: Halt").arg(number_);
    return driver_.invoke(member, kind, args);
  }

 private:
  FocusSimDriver driver_;
  int number_;
  QStringList& events_;
};

// The program on the focuser simulator (by default 1000 steps a second from
// 25000, chunks of 1000), linked at its first show, with the settings dialog.
// `events` notes, in order: each driver object created, with what the
// record holds as the connection runs; each Move and Halt; and star picking
// switched on, with what the record holds then.
struct OnSimulator {
  explicit OnSimulator(bool absolute = true, int speed = 1000, int start = 25000) {
    AscomConfig config;
    config.simulator.absolute = absolute;
    config.simulator.speed = speed;
    config.simulator.startPosition = start;
    config.simulator.maxIncrement = 1000;
    motor = InstallAscomPlatform(p.com, p.dialogs, p.time, config, {});
    p.com.registerClass(kFocusSimId, [this] {
      ++objects;
      events << QStringLiteral("%1: created, LowSpeed %2, limits %3-%4, picking %5")
                    .arg(objects)
                    .arg(Form1->xPasLent)
                    .arg(Form1->xLimiteBasse)
                    .arg(Form1->xLimiteHaute)
                    .arg(Form1->TimerSouris->Enabled() ? "on" : "off");
      return std::make_shared<NumberedDriver>(motor, objects, events);
    });
    p.writeIni(
        "[Focuser]\r\nDriver=FocusSim.Focuser\r\nPosition=25000\r\nLimite basse=20000\r\nLimite haute=30000\r\n"
        "[Autofocus]\r\nLowSpeed=2\r\nHighSpeed=4\r\nTolerance=0\r\nDelai suivi=0\r\nTaille=40\r\n");
    form = makeForm(p);
    form3 = std::make_unique<TForm3>();
    Form3 = form3.get();
  }
  ~OnSimulator() {
    form3.reset();
    Form1 = nullptr;
  }
  void notePicking() {
    QObject::connect(form->TimerSouris, &TTimer::PeriodStarted, [this] {
      events << QStringLiteral("picking on, LowSpeed %1").arg(form->xPasLent);
    });
  }
  // Clicks the setup button; `inDialog` acts in the open dialog, which then
  // closes with OK or Cancel.
  void setup(const std::function<void(TForm3&)>& inDialog, bool ok) {
    TForm3* dialog = form3.get();
    QTimer::singleShot(0, dialog, [dialog, inDialog, ok] {
      inDialog(*dialog);
      dialog->done(ok ? QDialog::Accepted : QDialog::Rejected);
    });
    QTest::mouseClick(form->BoutonSetup, Qt::LeftButton);
  }
  QStringList eventsFrom(const QString& first) const { return events.mid(events.indexOf(first)); }

  TestPlatform p;
  std::shared_ptr<FocusSimMotor> motor;
  std::unique_ptr<TForm1> form;
  std::unique_ptr<TForm3> form3;
  QStringList events;
  int objects = 0;
};

}  // namespace

TEST(SetupButtonOnSimulator, OkReconnectsBeforeTheCopyAndANewDriverChoiceClearsTheLimits) {
  OnSimulator s;
  s.notePicking();
  s.p.dialogs.choices << kFocusSimId;
  s.setup(
      [](TForm3& d) {
        d.PasLent->setText("7");
        d.BoutonSelection->click();
      },
      true);
  EXPECT_EQ(s.events, (QStringList{"1: created, LowSpeed 2, limits 20000-30000, picking off",
                                   "2: created, LowSpeed 2, limits 20000-30000, picking off",
                                   "picking on, LowSpeed 7"}));
  EXPECT_EQ(std::tuple(s.form->xLimiteBasse, s.form->xLimiteHaute, s.form->xPositionMap), std::tuple(0, 99999, 0));
  EXPECT_TRUE(s.form->FocuserExists);
  EXPECT_EQ(s.form->MemoLog->Lines().filter(QStringLiteral("détecté")), QStringList{"Ascom 6.0 détecté"});
  EXPECT_EQ(s.form->Memo1->Lines().filter(QStringLiteral("Focuser link")),
            (QStringList{"Focuser link : True", "Focuser link : True"}));
}

// STOP is enabled only by the motor poll: after a Cancel, and after an OK that
// a cancelled chooser kept from reconnecting, the poll runs on the driver
// object still held and STOP halts its move.
TEST(SetupButtonOnSimulator, StopIsEnabledAndHaltsAMoveAfterCancelAndAfterACancelledChooserAndOk) {
  for (bool chooserCancelled : {false, true}) {
    SCOPED_TRACE(chooserCancelled);
    OnSimulator s;
    VirtualTimers timers(s.p.time, {s.form->TimerTrackBar});
    s.setup(
        [&](TForm3& d) {
          if (chooserCancelled) d.BoutonSelection->click();
        },
        chooserCancelled);
    EXPECT_EQ(s.form->FocuserExists, !chooserCancelled);
    const uint32_t t0 = s.p.time.GetTickCount();
    s.p.time.at(t0 + 1500, [&] {
      ASSERT_TRUE(s.form->BoutonSTOP->isEnabled());
      QTest::mouseClick(s.form->BoutonSTOP, Qt::LeftButton);
    });
    ASSERT_TRUE(s.form->GoLimiteHaute->isEnabled());
    QTest::mouseClick(s.form->GoLimiteHaute, Qt::LeftButton);
    EXPECT_EQ(s.eventsFrom("1: Move 26000"), (QStringList{"1: Move 26000", "1: Move 27000", "1: Halt"}));
    EXPECT_EQ(s.motor->position(), 26500);
    EXPECT_TRUE(s.form->MemoLog->Lines().contains(QStringLiteral("STOP demandé")));
    timers.runFor(250);
    EXPECT_FALSE(s.form->BoutonSTOP->isEnabled());  // the poll follows the motor at rest
  }
}

// The setup button clicked inside a move's wait: OK halts the move at once
// and hands over once the move has ended, so the replaced driver gets no
// further move and the new one none at all.
TEST(SetupButtonOnSimulator, OkDuringAMoveHaltsItAndHandsOverOnceItHasEnded) {
  for (bool absolute : {true, false}) {
    SCOPED_TRACE(absolute);
    OnSimulator s(absolute);
    s.notePicking();
    const uint32_t t0 = s.p.time.GetTickCount();
    s.p.time.at(t0 + 1500, [&] {
      s.setup([](TForm3& d) { d.PasLent->setText("7"); }, true);
      s.events << "dialog closed";
      EXPECT_TRUE(Halt);
      EXPECT_FALSE(s.motor->isMoving());
    });
    QTest::mouseClick(s.form->GoLimiteHaute, Qt::LeftButton);
    s.events << "move ended";
    QCoreApplication::processEvents();
    const QStringList chunks = absolute ? QStringList{"1: Move 26000", "1: Move 27000"}
                                        : QStringList{"1: Move 1000", "1: Move 1000"};
    const QStringList handOver{"1: Halt", "dialog closed", "move ended",
                               "2: created, LowSpeed 2, limits 20000-30000, picking off", "picking on, LowSpeed 7"};
    EXPECT_EQ(s.eventsFrom(chunks[0]), chunks + handOver);
    EXPECT_EQ(s.motor->position(), 26500);
    EXPECT_EQ(s.form->MemoLog->Lines().count(QStringLiteral("STOP demandé")), 1);
    EXPECT_TRUE(s.p.dialogs.shown.isEmpty());
    // Not the stop button's count reset: the absolute position read back, the
    // relative count of the steps sent.
    EXPECT_EQ(s.form->xPosition, absolute ? 26500 : 27000);
    EXPECT_TRUE(s.form->FocuserExists);
    EXPECT_TRUE(s.form->TimerSouris->Enabled());
  }
}

TEST(SetupButtonOnSimulator, OkDuringAnAutofocusRunHaltsItAndHandsOverOnceItHasEnded) {
  OnSimulator s(true, 100, 25100);  // out of focus; a fast step of 40 steps takes 400 ms
  SyntheticStar star(s.p.desktop, s.motor, QPoint(300, 300));
  s.form->CheckBox1->setChecked(true);
  s.p.desktop.cursor = QPoint(300, 300);
  s.p.desktop.leftButton = true;
  s.form->TimerSourisTimer();
  s.p.desktop.leftButton = false;
  s.notePicking();
  s.p.dialogs.whileOpen = [&](const ScriptedDialogs::Shown& box) {
    s.events << "box: " + box.text.section('\n', 0, 0);
  };
  bool clicked = false;
  s.p.time.onPass = [&] {
    if (clicked || s.events.filter(QStringLiteral("Move")).size() < 3 || !s.motor->isMoving()) return;
    clicked = true;
    s.setup([](TForm3& d) { d.PasLent->setText("7"); }, true);
    s.events << "dialog closed";
  };
  QTest::mouseClick(s.form->BoutonAutofocus, Qt::LeftButton);
  s.events << "run ended";
  QCoreApplication::processEvents();
  ASSERT_TRUE(clicked);
  EXPECT_EQ(s.eventsFrom("1: Halt"),
            (QStringList{"1: Halt", "dialog closed", "box: Autofocus interrompu.", "run ended",
                         "2: created, LowSpeed 2, limits 20000-30000, picking off", "picking on, LowSpeed 7"}));
  EXPECT_EQ(s.events.filter(QStringLiteral("Move")).size(), 3);
  EXPECT_FALSE(s.form->MemoLog->Lines().contains(QStringLiteral("STOP demandé")));
  EXPECT_TRUE(Halt);
  EXPECT_FALSE(s.form->OperationUnderWay());
  EXPECT_TRUE(s.form->LabelMesure->isHidden() && s.form->LabelChrono->isHidden());
}

// A driver chosen in the dialog that cannot be created: after the OK's
// creation box no control, poll or stop drives the simulator held before.
TEST(SetupButtonOnSimulator, AFailedCreationOnOkLeavesNoFocuserToDrive) {
  OnSimulator s;
  s.p.dialogs.choices << QStringLiteral("Other.Focuser");
  s.setup([](TForm3& d) { d.BoutonSelection->click(); }, true);
  EXPECT_EQ(s.form->EditFocuser->EditLabel()->text(), QStringLiteral("Moteur MAP non connecté"));
  for (TSpeedButton* b : {s.form->BoutonSTOP, s.form->BoutonRappelMAP, s.form->BoutonAVRapide, s.form->GoLimiteHaute})
    EXPECT_FALSE(b->isEnabled()) << b->toolTip().toStdString();
  s.form->xPositionMap = 26000;  // each handler run as if its control could be used
  for (auto handler : {&TForm1::BoutonRappelMAPClick, &TForm1::BoutonRELentMouseDown, &TForm1::TimerTrackBarTimer,
                       &TForm1::BoutonSTOPClick})
    guarded([&] { (s.form.get()->*handler)(); });
  EXPECT_EQ(s.events.filter(QRegularExpression("Move|Halt")), QStringList{});
  EXPECT_EQ(s.p.dialogs.texts(QStringLiteral("ErrorBox")),
            QStringList(2, "Aucun focuser n'est en service : le mouvement n'est pas envoyé."));
}
