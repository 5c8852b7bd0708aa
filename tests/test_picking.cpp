#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "measure/picking.h"
#include "platform/number_format.h"

namespace {

// A focuser driver that answers Link and records what it was asked.
struct FakeFocuser : Dispatch {
  bool link = true;
  bool fails = false;
  QStringList asked;
  Variant invoke(const QString& member, InvokeKind, std::vector<Arg>&) override {
    asked << member;
    if (fails) throw AutomationError(QStringLiteral("Focuser"), QStringLiteral("Le focuser ne répond pas"), 1001);
    if (member.compare(QStringLiteral("Link"), Qt::CaseInsensitive) == 0) return Variant(link);
    throw unknownMember(member);
  }
};

QImage gaussianStar(int side, double sigma) {
  QImage img(side, side, QImage::Format_RGB32);
  const int c = side / 2;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const int v = int(std::lround(250 * std::exp(-((x - c) * (x - c) + (y - c) * (y - c)) / (2 * sigma * sigma))));
      img.setPixel(x, y, qRgb(v, v, v));
    }
  return img;
}

struct Picking : ::testing::Test {
  TestPlatform p;
  std::unique_ptr<TForm1> form = makeForm(p);
  void SetUp() override {
    form->xTaille = 30;
    p.desktop.showImage(gaussianStar(30, 2.0), QPoint(497, 369));  // centred on (512, 384)
    p.desktop.cursor = QPoint(512, 384);
    form->CheckBox1->setChecked(true);
  }
  void tick() { emit form->TimerSouris->OnTimer(); }
  int picks() const { return form->MemoLog->Lines().filter(QStringLiteral("Sélection étoile")).size(); }
};

}  // namespace

TEST(PointDansFenetre, AllFourBoundsAreInclusive) {
  const QRect outer(100, 50, 167, 350);
  EXPECT_TRUE(pointDansFenetre(QPoint(100, 50), outer));
  EXPECT_TRUE(pointDansFenetre(QPoint(267, 400), outer));  // one right of and one below the window
  EXPECT_FALSE(pointDansFenetre(QPoint(268, 200), outer));
  EXPECT_FALSE(pointDansFenetre(QPoint(200, 401), outer));
  EXPECT_FALSE(pointDansFenetre(QPoint(99, 200), outer));
  EXPECT_FALSE(pointDansFenetre(QPoint(200, 49), outer));
}

TEST_F(Picking, APickCentresTheSquareFramesItMeasuresAndLogs) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  p.desktop.leftButton = true;
  tick();
  EXPECT_EQ(OrigX, 497);
  EXPECT_EQ(OrigY, 369);
  EXPECT_TRUE(form->xIsEtoile);
  EXPECT_TRUE(form->BoutonAutofocus->isEnabled());  // with no focuser at all
  EXPECT_TRUE(form->BoutonCapture->isEnabled());
  EXPECT_EQ(form->Image1->Picture(), p.desktop.background.copy(497, 369, 30, 30));
  EXPECT_EQ(p.desktop.screen.pixel(496, 368), qRgb(255, 0, 0));
  EXPECT_EQ(p.desktop.screen.pixel(527, 399), qRgb(255, 0, 0));
  const QStringList lines = form->MemoLog->Lines();
  ASSERT_GE(lines.size(), 2);
  EXPECT_EQ(lines[lines.size() - 2], QStringLiteral("Sélection étoile (512,384)"));
  EXPECT_EQ(lines.last(), QStringLiteral("  +-- fwhm = 5,17"));
  EXPECT_EQ(form->LabelFWHM->text(), QStringLiteral("5,2"));
}

TEST_F(Picking, AHeldButtonPicksOncePerTickAndDragsTheSquare) {
  p.desktop.leftButton = true;
  tick();
  p.desktop.cursor = QPoint(520, 390);
  tick();
  tick();
  EXPECT_EQ(picks(), 3);
  EXPECT_EQ(OrigX, 505);
  EXPECT_EQ(OrigY, 375);
  EXPECT_EQ(form->MemoLog->Lines().filter(QStringLiteral("Sélection étoile (520,390)")).size(), 2);
}

TEST_F(Picking, APressOnTheWindowOrJustRightOfOrBelowItPicksNothing) {
  p.desktop.leftButton = true;
  const QRect outer = form->frameGeometry();
  const auto pressAt = [&](QPoint at) {
    p.desktop.leftButton = false;
    tick();
    p.desktop.cursor = at;
    p.desktop.leftButton = true;
    tick();
  };
  for (QPoint at : {outer.topLeft(), outer.center(), QPoint(outer.left() + outer.width(), outer.center().y()),
                    QPoint(outer.center().x(), outer.top() + outer.height())})
    pressAt(at);
  EXPECT_EQ(picks(), 0);
  pressAt(QPoint(outer.left() + outer.width() + 1, outer.center().y()));
  EXPECT_EQ(picks(), 1);
}

// The window manager moves or resizes the main window under a held press,
// ahead of what the program knows of its place: no tick of a press that began
// on the window picks, however far the pointer goes; the next press outside does.
TEST_F(Picking, APressThatBeganOnTheWindowPicksNothingWhileTheWindowManagerMovesIt) {
  const QRect known = form->frameGeometry();
  const QPoint titleBar(known.left() + 40, (known.top() + form->geometry().top()) / 2);
  const QPoint rightBorder(known.right(), known.center().y());
  const struct {
    const char* what;
    QPoint pressed;
    int firstSeenAfter;    // steps the pointer made before a tick saw the button down
    int step;              // pixels to the right at each step
    int frameLag;          // steps the frame shown lags behind the pointer
    bool resize;           // the right border follows the pointer, not the whole frame
    bool pressedWhileOff;  // the press began while picking was switched off
  } drags[] = {
      {"dragged left by its title bar", titleBar, 0, -10, 0, false, false},
      {"dragged left, the press first seen after five steps", titleBar, 5, -10, 0, false, false},
      {"widened by its right border, which lags the pointer", rightBorder, 0, 10, 1, true, false},
      {"widened by a press made while picking was off", rightBorder, 0, 10, 1, true, true},
  };
  for (const auto& drag : drags) {
    p.desktop.framesShown.clear();
    p.desktop.cursor = QPoint(512, 384);
    p.desktop.leftButton = drag.pressedWhileOff;  // held on the star at the last tick
    tick();
    if (drag.pressedWhileOff) form->TimerSouris->setEnabled(false);
    const int before = picks();
    p.desktop.leftButton = true;
    for (int k = drag.firstSeenAfter; k <= 10; ++k) {
      p.desktop.cursor = drag.pressed + QPoint(k * drag.step, 0);
      const int moved = std::max(k - drag.frameLag, 0) * drag.step;
      p.desktop.framesShown[form.get()] = drag.resize ? known.adjusted(0, 0, moved, 0) : known.translated(moved, 0);
      if (drag.pressedWhileOff) form->TimerSouris->setEnabled(true);
      tick();
    }
    EXPECT_EQ(picks(), before) << drag.what;
    p.desktop.leftButton = false;
    tick();
  }
  p.desktop.framesShown.clear();  // the window manager's move is over
  p.desktop.cursor = QPoint(512, 384);
  p.desktop.leftButton = true;
  const int before = picks();
  tick();
  EXPECT_EQ(picks(), before + 1);
}

TEST_F(Picking, TrackingOrAnUntickedBoxBlocksPicking) {
  p.desktop.leftButton = true;
  form->TimerSuivi->setEnabled(true);
  tick();
  form->TimerSuivi->setEnabled(false);
  form->CheckBox1->setChecked(false);
  tick();
  EXPECT_EQ(picks(), 0);
  EXPECT_EQ(p.desktop.screen, p.desktop.background);
}

TEST_F(Picking, ATickDuringAPickStartsNoNestedPick) {
  p.desktop.leftButton = true;
  int ticksInside = 0;
  p.time.onPass = [&] {
    p.desktop.cursor = QPoint(700, 600);
    ++ticksInside;
    tick();
  };
  tick();
  p.time.onPass = nullptr;
  EXPECT_GT(ticksInside, 0);
  EXPECT_EQ(picks(), 1);
  EXPECT_EQ(OrigX, 497);
  tick();  // the next tick after the pick picks again
  EXPECT_EQ(picks(), 2);
  EXPECT_EQ(OrigX, 685);
}

TEST_F(Picking, ClosingTheWindowDuringAPickDrawsNothingMore) {
  p.desktop.leftButton = true;
  p.time.at(p.time.GetTickCount() + 50, [&] { form->close(); });
  tick();
  EXPECT_EQ(p.desktop.screen, p.desktop.background);
  EXPECT_EQ(picks(), 0);
  EXPECT_FALSE(p.readIni().isEmpty());
}

// ---- The "On/off" box ----

TEST_F(Picking, TickingSwitchesPickingOnUntickingErasesTheFrame) {
  EXPECT_TRUE(form->TimerSouris->Enabled());
  form->BoutonCapture->setEnabled(true);
  form->BoutonAutofocus->setEnabled(true);
  const int repaints = p.desktop.repaints;
  form->CheckBox1->setChecked(false);
  EXPECT_FALSE(form->TimerSouris->Enabled());
  EXPECT_FALSE(form->BoutonCapture->isEnabled());
  EXPECT_TRUE(form->BoutonAutofocus->isEnabled());  // no driver object: kept
  EXPECT_EQ(p.desktop.repaints, repaints + 1);
}

TEST_F(Picking, WithALinkedDriverAndAStarTheBoxDrivesTheAutofocusButton) {
  auto focuser = std::make_shared<FakeFocuser>();
  form->Focuser = AutomationRef(focuser);
  form->FocuserExists = true;
  form->xIsEtoile = true;
  form->CheckBox1->setChecked(false);
  EXPECT_FALSE(form->BoutonAutofocus->isEnabled());
  form->CheckBox1->setChecked(true);
  EXPECT_TRUE(form->BoutonAutofocus->isEnabled());
  EXPECT_EQ(focuser->asked, (QStringList{QStringLiteral("Link"), QStringLiteral("Link")}));
}

TEST_F(Picking, TheLinkIsReadEvenWithNoStarPicked) {
  auto focuser = std::make_shared<FakeFocuser>();
  form->Focuser = AutomationRef(focuser);
  form->FocuserExists = true;
  form->BoutonAutofocus->setEnabled(true);
  form->CheckBox1->setChecked(false);
  EXPECT_EQ(focuser->asked, QStringList{QStringLiteral("Link")});
  EXPECT_TRUE(form->BoutonAutofocus->isEnabled());
}

TEST_F(Picking, ADriverErrorOnLinkSkipsTheRestOfTheClick) {
  auto focuser = std::make_shared<FakeFocuser>();
  focuser->fails = true;
  form->Focuser = AutomationRef(focuser);
  form->FocuserExists = true;
  form->BoutonCapture->setEnabled(true);
  const int repaints = p.desktop.repaints;
  form->CheckBox1->setChecked(false);
  EXPECT_FALSE(form->TimerSouris->Enabled());
  EXPECT_EQ(p.dialogs.texts(QStringLiteral("ErrorBox")), QStringList{QStringLiteral("Le focuser ne répond pas.")});
  EXPECT_TRUE(form->BoutonCapture->isEnabled());
  EXPECT_EQ(p.desktop.repaints, repaints);
}
