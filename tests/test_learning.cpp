#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "fake_ascom.h"
#include "platform/controls.h"
#include "settings_fixture.h"

namespace {

struct Learning : ::testing::Test, SettingsFixture {
  Learning() {
    form->xLimiteHaute = 99999;
    form->BarrePO->setRange(500, 2000);
    form->BarrePO->setProgress(1250);
    open();
  }
  void learnAt(int position, TSpeedButton* button) {
    form->xPosition = position;
    button->click();
  }
  QString shown(TLabeledEdit* box) const { return box->text() + (box->Color() == clWindow ? "" : " green"); }
};

}  // namespace

TEST_F(Learning, LowerLimitAboveTheUpperOneRaisesItAndOkKeepsBoth) {
  form->xLimiteHaute = 1000;
  learnAt(1200, form3->ValideLimiteBasse);
  EXPECT_EQ(shown(form3->LimiteHaute), "1200 green");
  learnAt(120000, form3->ValideLimiteBasse);  // beyond "none" too
  EXPECT_EQ(shown(form3->LimiteBasse), "120000 green");
  EXPECT_EQ(shown(form3->LimiteHaute), "120000 green");
  form3->hide();
  runSetup([](TForm3&) {}, true);
  EXPECT_EQ(std::pair(form->xLimiteBasse, form->xLimiteHaute), std::pair(120000, 120000));
}

TEST_F(Learning, UpperLimitOnlyStrictlyAboveTheLowerOneAsStored) {
  for (int refused : {0, -40}) learnAt(refused, form3->ValideLimiteHaute);
  EXPECT_EQ(form->xLimiteHaute, 99999);
  learnAt(-250, form3->ValideLimiteBasse);
  EXPECT_EQ(shown(form3->LimiteBasse), "-250 green");
  for (int refused : {-250, -251}) learnAt(refused, form3->ValideLimiteHaute);
  EXPECT_EQ(form->xLimiteHaute, 99999);
  learnAt(-249, form3->ValideLimiteHaute);
  EXPECT_EQ(shown(form3->LimiteHaute), "-249 green");
  learnAt(99999, form3->ValideLimiteHaute);
  EXPECT_EQ(shown(form3->LimiteHaute), "99999");
}

TEST_F(Learning, FocusPositionAtZeroEnablesTheRecallButtonAllTheSame) {
  form->BoutonRappelMAP->setEnabled(false);
  learnAt(0, form3->ValideMAP);
  EXPECT_TRUE(form->BoutonRappelMAP->isEnabled());
  EXPECT_EQ(shown(form3->PointDeMap), "0");
}

TEST_F(Learning, ClearingALimitTurnsTheGaugeMaroonAndEmptyWithinItsRange) {
  learnAt(0, form3->ValideLimiteBasse);  // 0 means none: the gauge is left alone
  EXPECT_EQ(form->BarrePO->Progress(), 1250);
  form3->EffaceLimiteBasse->click();
  EXPECT_EQ(form->BarrePO->BackColor(), clMaroon);
  EXPECT_EQ(form->BarrePO->Progress(), 500);
  EXPECT_EQ(form->BarrePO->text(), "0%");
}

TEST_F(Learning, LearningTheLowerLimitRunsThePollInTheDialogAndAfterCancel) {
  form3->hide();
  runSetup([this](TForm3& d) {
    learnAt(300, d.ValideLimiteBasse);
    EXPECT_TRUE(form->TimerTrackBar->Enabled());
  }, false);
  EXPECT_TRUE(form->TimerTrackBar->Enabled());
  EXPECT_EQ(form->xLimiteBasse, 300);
}

// The dialog opened during a fast move of 120 steps at 10 steps a second from
// 5000, its learn button pressed once the motor stands at 5120 or while it
// still moves, then OK: the value learnt and stored is where the focuser
// stood at the press, and only a motor still moving is stopped.
TEST(LearningOnSimulator, ALearnButtonTakesWhereTheFocuserStandsAlsoDuringAMove) {
  struct Case {
    bool absolute;
    TSpeedButton* TForm3::*button;
    QByteArray key;
    uint32_t pressAfterMs;
    int learnt;
  };
  for (const Case& c : {Case{true, &TForm3::ValideMAP, "Position MAP", 12000, 5120},
                        Case{true, &TForm3::ValideLimiteBasse, "Limite basse", 12000, 5120},
                        Case{true, &TForm3::ValideLimiteHaute, "Limite haute", 12000, 5120},
                        Case{false, &TForm3::ValideMAP, "Position MAP", 12000, 5120},
                        Case{true, &TForm3::ValideMAP, "Position MAP", 0, 5010}}) {
    SCOPED_TRACE(c.key.toStdString() + (c.absolute ? " absolute " : " relative ") + std::to_string(c.pressAfterMs));
    TestPlatform p;
    FocusSimSettings settings;
    settings.absolute = c.absolute;
    settings.speed = 10;
    settings.startPosition = 5000;
    auto motor = installSimulator(p, settings);
    p.writeIni("[Focuser]\r\nDriver=FocusSim.Focuser\r\nPosition=5000\r\n[Autofocus]\r\nLowSpeed=2\r\nHighSpeed=12\r\n");
    auto form = makeForm(p);
    auto dialog = std::make_unique<TForm3>();
    Form3 = dialog.get();
    p.time.at(p.time.GetTickCount() + 1000, [&] {
      QTimer::singleShot(0, Form3, [&] {
        p.time.advance(c.pressAfterMs);
        ((*Form3).*c.button)->click();
        Form3->done(QDialog::Accepted);
      });
      QTest::mouseClick(form->BoutonSetup, Qt::LeftButton);
    });
    QTest::mouseClick(form->BoutonAVRapide, Qt::LeftButton);
    QCoreApplication::processEvents();  // the hand-over
    EXPECT_EQ(motor->position(), c.learnt);
    EXPECT_EQ(form->MemoLog->Lines().count(QStringLiteral("STOP demandé")), c.pressAfterMs ? 0 : 1);
    form->EcritFichierIni();  // as the close does
    const QByteArray learnt = QByteArray::number(c.learnt);
    EXPECT_TRUE(p.readIni().contains("\r\n" + c.key + "=" + learnt + "\r\n")) << p.readIni().toStdString();
    EXPECT_TRUE(p.readIni().contains("\r\nPosition=" + learnt + "\r\n"));
    dialog.reset();
    Form1 = nullptr;
  }
}
