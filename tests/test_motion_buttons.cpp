// The motion buttons, the recall of the focus position, the stop and the reset.
#include <gtest/gtest.h>

#include <QTest>

#include "app_fixture.h"
#include "fake_ascom.h"

namespace {

using V = std::vector<int>;
const QString kRelativeNote = QStringLiteral("Le moteur étant de type \"relatif\", sa position a été mise à 0.");

struct MotionButtons : ::testing::Test {
  TestPlatform p;
  FakeAscom ascom;
  std::unique_ptr<TForm1> form = makeForm(p);
  std::shared_ptr<RecordingFocuser> driver = std::make_shared<RecordingFocuser>();

  void SetUp() override {
    ascom.install(p.com);
    form->Focuser = AutomationRef(driver);
    form->FocuserExists = true;
    driver->absolute = false;
    driver->link = true;
    form->xPasLent = 2;
    form->xPasRapide = 4;
    form->FocStep = 5;
    form->FocMaxIncrement = 1000;
  }
  V moves() const {
    V out;
    for (const Arg& a : driver->moves()) out.push_back(a.value.toInt());
    return out;
  }
};

}  // namespace

TEST_F(MotionButtons, FastMovesOnAClickAndSlowMovesOnEachPressOfAnyButton) {
  form->BoutonAVRapide->setEnabled(true);
  form->BoutonRERapide->setEnabled(true);
  QTest::mouseClick(form->BoutonAVRapide, Qt::LeftButton);
  QTest::mouseClick(form->BoutonRERapide, Qt::LeftButton);
  QTest::mousePress(form->BoutonAVLent, Qt::RightButton);
  QTest::mouseRelease(form->BoutonAVLent, Qt::RightButton);
  QTest::mousePress(form->BoutonRELent, Qt::MiddleButton);  // a double click: two presses
  QTest::mouseRelease(form->BoutonRELent, Qt::MiddleButton);
  QTest::mouseDClick(form->BoutonRELent, Qt::MiddleButton);
  QTest::mouseRelease(form->BoutonRELent, Qt::MiddleButton);
  EXPECT_EQ(moves(), (V{40, -40, 10, -10, -10}));
  EXPECT_EQ(form->xPosition, -10);
}

// Speeds edited by hand outside their ranges are read within them: the forward
// buttons never move inward, nor further than the dialog allows.
TEST_F(MotionButtons, AfterSpeedsReadOutsideTheirRangesTheForwardButtonsMoveOutwardWithinThem) {
  form->BoutonAVRapide->setEnabled(true);
  for (const char* speeds : {"LowSpeed=-3\nHighSpeed=4\n", "LowSpeed=12\nHighSpeed=500\n"}) {
    p.writeIni(QByteArray("[Autofocus]\n") + speeds);
    form->LitFichierIni();
    QTest::mouseClick(form->BoutonAVRapide, Qt::LeftButton);
    QTest::mousePress(form->BoutonAVLent, Qt::LeftButton);
    QTest::mouseRelease(form->BoutonAVLent, Qt::LeftButton);
  }
  EXPECT_EQ(moves(), (V{0, 0, 10 * 95 * 5, 10 * 5}));
}

TEST_F(MotionButtons, TheLimitButtonsMoveOnlyToALimitThatIsSet) {
  form->xLimiteBasse = kNoLowerLimit;
  form->xLimiteHaute = kNoUpperLimit;
  form->GoLimiteBasseClick();
  form->GoLimiteHauteClick();
  EXPECT_TRUE(moves().empty());
  form->xLimiteBasse = 300;
  form->xLimiteHaute = 1500;
  form->GoLimiteHauteClick();
  form->GoLimiteBasseClick();
  EXPECT_EQ(moves(), (V{1000, 500, -1000, -200}));
  EXPECT_EQ(form->xPosition, 300);
  EXPECT_FALSE(form->GoLimiteBasse->isEnabled());
}

TEST_F(MotionButtons, TheRecallMovesAsksAndMayStartAQuickAutofocus) {
  struct Case {
    int focus;
    bool star;
    ModalResult answer;
    V sent;
    bool asked;
    QString mode;
  };
  for (const Case& c :
       {Case{0, true, ModalResult::Yes, {}, true, "Fin"}, Case{1500, false, ModalResult::Yes, {1000, 500}, false, ""},
        Case{1500, true, ModalResult::No, {1000, 500}, true, ""}}) {
    SCOPED_TRACE(c.focus);
    driver->log.calls.clear();
    p.dialogs.shown.clear();
    ascom.log.calls.clear();
    ModeFocus.clear();
    form->xPosition = 0;
    form->xPositionMap = c.focus;
    form->xIsEtoile = c.star;
    form->TimerSouris->setEnabled(false);
    p.dialogs.answers = {c.answer};
    form->BoutonRappelMAP->setEnabled(true);
    QTest::mouseClick(form->BoutonRappelMAP, Qt::LeftButton);
    EXPECT_EQ(moves(), c.sent);
    EXPECT_EQ(p.dialogs.texts(QStringLiteral("MessageDlg")),
              c.asked ? QStringList{"Voulez-vous lancer un autofocus rapide afin de valider la MAP ?"} : QStringList{});
    if (c.asked) {
      EXPECT_EQ(p.dialogs.shown.first().caption, QStringLiteral("Confirmation"));
    }
    EXPECT_EQ(ModeFocus, c.mode);
    EXPECT_EQ(ascom.boxes().size(), c.mode.isEmpty() ? 0u : 1u);  // the autofocus button's report
    EXPECT_TRUE(form->TimerSouris->Enabled());
  }
}

TEST_F(MotionButtons, TheStopActsOnWhateverDriverObjectIsHeld) {
  form->Focuser = AutomationRef();
  form->LabelChrono->show();
  form->BoutonSTOPClick();
  EXPECT_TRUE(Halt);
  EXPECT_TRUE(form->LabelChrono->isVisible());
  EXPECT_FALSE(form->MemoLog->Lines().contains(QStringLiteral("STOP demandé")));

  // A driver object held by an OK that reconnected nothing is still stopped.
  form->Focuser = AutomationRef(driver);
  form->FocuserExists = false;
  driver->absolute = true;
  form->BoutonSTOPClick();
  EXPECT_EQ(driver->log.count(QStringLiteral("Halt")), 1);
  EXPECT_TRUE(form->LabelChrono->isHidden());
  EXPECT_TRUE(p.dialogs.texts(QStringLiteral("MessageDlg")).isEmpty());  // absolute: no note
}

TEST_F(MotionButtons, TheResetShowsZeroAtOnce) {
  form->xPosition = 1234;
  form->BoutonResetPos->show();
  QTest::mouseClick(form->BoutonResetPos, Qt::LeftButton);
  EXPECT_EQ(form->LabelPosition->text(), QStringLiteral("0"));
  EXPECT_TRUE(moves().empty());
}

// A stop clicked midway through a target move on the simulator: the motor
// halts where it is and no further chunk goes.
TEST(MotionButtonsOnSimulator, AStopMidwayThroughATargetSendsNoFurtherChunk) {
  for (bool absolute : {true, false}) {
    SCOPED_TRACE(absolute);
    TestPlatform p;
    FocusSimSettings settings;
    settings.absolute = absolute;
    settings.maxIncrement = 1000;  // 1000 steps a second, from 25000
    auto motor = installSimulator(p, settings);
    QStringList notes;
    noteSimulatorCalls(p, motor, notes);
    p.writeIni("[Focuser]\r\nDriver=FocusSim.Focuser\r\n");
    auto form = makeForm(p);
    form->xPosition = 25000;
    form->xLimiteHaute = 28500;
    const uint32_t t0 = p.time.GetTickCount();
    p.time.at(t0 + 1500, [&] {
      emit form->TimerTrackBar->OnTimer();
      ASSERT_TRUE(form->BoutonSTOP->isEnabled());
      QTest::mouseClick(form->BoutonSTOP, Qt::LeftButton);
      EXPECT_FALSE(motor->isMoving());
    });
    form->GoLimiteHauteClick();
    EXPECT_EQ(notes, (QStringList{absolute ? "26000" : "1000", absolute ? "27000" : "1000", "Halt"}));
    EXPECT_EQ(motor->position(), 26500);
    EXPECT_TRUE(form->MemoLog->Lines().contains(QStringLiteral("STOP demandé")));
    EXPECT_EQ(p.dialogs.texts(QStringLiteral("MessageDlg")), absolute ? QStringList{} : QStringList{kRelativeNote});
    EXPECT_EQ(form->xPosition, absolute ? 26500 : 0);
    EXPECT_TRUE(form->BoutonFocuserConnect->isEnabled());
    EXPECT_TRUE(Halt);
  }
}

// A limit, or a fast move, beyond the travel of the simulator, which stops at
// its end as a real focuser does: the window shows, the limit buttons follow
// and the settings file stores where the motor stands, and the log says once
// which target was missed.
TEST(MotionButtonsOnSimulator, AMoveBeyondTheTravelEndsWhereTheMotorStopped) {
  struct Case {
    TSpeedButton* TForm1::*button;
    int start, high, reached;
    QStringList logged;
  };
  for (const Case& c : {Case{&TForm1::GoLimiteHaute, 99000, 120000, 100000, {"Position atteinte 100000 au lieu de 120000."}},
                        Case{&TForm1::GoLimiteBasse, 2000, 120000, 0, {"Position atteinte 0 au lieu de -3000."}},
                        Case{&TForm1::BoutonAVRapide, 99990, 120000, 100000, {"Position atteinte 100000 au lieu de 100030."}},
                        Case{&TForm1::GoLimiteHaute, 99000, 99500, 99500, {}}}) {
    SCOPED_TRACE(c.start);
    TestPlatform p;
    FocusSimSettings settings;
    settings.maxStep = 100000;
    settings.startPosition = c.start;
    auto motor = installSimulator(p, settings);
    p.writeIni("[Focuser]\r\nDriver=FocusSim.Focuser\r\nLimite basse=-3000\r\nLimite haute=" +
               QByteArray::number(c.high) + "\r\n[Autofocus]\r\nLowSpeed=2\r\nHighSpeed=4\r\n");
    auto form = makeForm(p);
    TSpeedButton* button = (*form).*c.button;
    ASSERT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(motor->position(), c.reached);
    EXPECT_EQ(form->LabelPosition->text(), QString::number(c.reached));
    EXPECT_EQ(form->MemoLog->Lines().filter(QStringLiteral("Position atteinte")), c.logged);
    EXPECT_EQ(form->GoLimiteHaute->isEnabled(), c.reached != c.high);
    EXPECT_TRUE(form->GoLimiteBasse->isEnabled());
    form->close();
    EXPECT_TRUE(p.readIni().contains("\r\nPosition=" + QByteArray::number(c.reached) + "\r\n")) << p.readIni().toStdString();
  }
}
