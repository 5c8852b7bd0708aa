#include <gtest/gtest.h>

#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <cmath>

#include "app_fixture.h"
#include "measure/tracking.h"
#include "platform/exception.h"
#include "platform/number_format.h"
#include "resources/pictures.h"
#include "virtual_timers.h"

namespace {

// A desktop whose captures can be made to fail.
struct FailingDesktop : MemoryDesktop {
  bool fail = false;
  std::unique_ptr<DesktopDC> GetWindowDC() override {
    if (fail) throw Exception(QStringLiteral("Capture du bureau impossible"));
    return MemoryDesktop::GetWindowDC();
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

QString lampe(TColor c) {
  if (c == clInactiveCaptionText) return QStringLiteral("repos");
  if (c == clMoneyGreen) return QStringLiteral("vert");
  if (c == clMaroon) return QStringLiteral("marron");
  return QString::number(c, 16);
}

QStringList texts(const QList<QGraphicsSimpleTextItem*>& items) {
  QStringList out;
  for (auto* item : items) out << item->text();
  return out;
}

struct Tracking : ::testing::Test {
  TestPlatform p;
  FailingDesktop desk;
  std::unique_ptr<TForm1> form;
  std::unique_ptr<VirtualTimers> timers;

  void SetUp() override {
    p.services = std::make_unique<PlatformServices>(PlatformServices{
        desk, p.time, p.dialogs, p.com, p.registry, *p.version, p.services->programFolder});
    form = makeForm(p);
    form->xTaille = 30;
    desk.showImage(gaussianStar(30, 2.0), QPoint(497, 369));  // centred on (512, 384)
    desk.cursor = QPoint(512, 384);
    form->CheckBox1->setChecked(true);
    timers = std::make_unique<VirtualTimers>(
        p.time, std::initializer_list<TTimer*>{form->TimerSouris, form->TimerSuivi, form->TimerMarron});
  }
  void TearDown() override { timers.reset(); }

  // Holds the button down over the star for one tick of picking.
  void pick() {
    desk.leftButton = true;
    timers->runFor(100);
    desk.leftButton = false;
  }
  // Picks the star and starts tracking; returns the clock at the start.
  uint32_t start() {
    pick();
    form->BoutonCapture->click();
    return p.time.GetTickCount();
  }
  int picks() const { return form->MemoLog->Lines().filter(QStringLiteral("Sélection étoile")).size(); }
  QList<double> history() const {
    QList<double> ys;
    for (QPointF pt : form->Series4->points()) ys << pt.y();
    return ys;
  }
  QList<double> historyX() const {
    QList<double> xs;
    for (QPointF pt : form->Series4->points()) xs << pt.x();
    return xs;
  }
  QList<QGraphicsSimpleTextItem*> axisLabels() const {
    QList<QGraphicsSimpleTextItem*> out;
    for (QGraphicsItem* item : form->Chart2->chart()->childItems())
      if (auto* t = qgraphicsitem_cast<QGraphicsSimpleTextItem*>(item)) out << t;
    std::sort(out.begin(), out.end(), [](auto* a, auto* b) { return a->pos().y() > b->pos().y(); });
    return out;
  }
};

}  // namespace

TEST(CouleurClignotement, RestTurnsGreenAndEverythingElseTurnsRest) {
  EXPECT_EQ(couleurClignotement(clInactiveCaptionText), clMoneyGreen);
  EXPECT_EQ(couleurClignotement(clMoneyGreen), clInactiveCaptionText);
  EXPECT_EQ(couleurClignotement(clMaroon), clInactiveCaptionText);
}

TEST(AxesHistorique, TheBottomAxisSpansThePointIndexesAndTheLeftOneTheirValues) {
  const AxesHistorique vide = axesHistorique({});
  EXPECT_EQ(vide.xMax, 1.0);
  EXPECT_EQ(vide.y.graduations, QList<double>({0, 0.5, 1}));
  const AxesHistorique un = axesHistorique({{0, 4.2}});
  EXPECT_EQ(un.xMin, 0.0);
  EXPECT_EQ(un.xMax, 1.0);
  const AxesHistorique trois = axesHistorique({{0, 4.2}, {1, 3.1}, {2, 5.6}});
  EXPECT_EQ(trois.xMax, 2.0);
  EXPECT_EQ(trois.y.min, 3.0);
  EXPECT_EQ(trois.y.max, 6.0);
}

TEST_F(Tracking, TheStartShowsAnEmptyChartAndTheFirstPointComesOnePeriodLater) {
  start();
  EXPECT_TRUE(form->Chart2->isVisible());
  EXPECT_FALSE(form->TimerSouris->Enabled());
  EXPECT_TRUE(form->TimerSuivi->Enabled());
  EXPECT_FALSE(form->BoutonCapture->isEnabled());
  EXPECT_TRUE(form->BoutonStopCapture->isEnabled());
  timers->runFor(2999);
  EXPECT_TRUE(history().isEmpty());
  timers->runFor(1);
  ASSERT_EQ(history().size(), 1);
  EXPECT_NEAR(history()[0], 5.17, 0.005);
  EXPECT_EQ(historyX(), QList<double>({0}));
  timers->runFor(3000);
  EXPECT_EQ(historyX(), QList<double>({0, 1}));
}

TEST_F(Tracking, TheLampIsMaroonForEachMeasureAndBlinksEveryHalfSecondBetween) {
  const uint32_t t0 = start();
  QStringList seen;
  timers->afterTick = [&](TTimer*) {
    seen << QString::number(p.time.GetTickCount() - t0) + ' ' + lampe(form->Shape1->BrushColor());
  };
  timers->runFor(6600);
  // Each measure takes the 100 ms wait before its capture; the blinking
  // starts again from its end.
  EXPECT_EQ(seen, QStringList({"500 vert", "1000 repos", "1500 vert", "2000 repos", "2500 vert", "3100 marron",
                               "3600 repos", "4100 vert", "4600 repos", "5100 vert", "5600 repos", "6100 marron",
                               "6600 repos"}));
}

TEST_F(Tracking, RestartingAfterAStopBeginsAnEmptyHistoryFromXZero) {
  start();
  timers->runFor(6000);
  EXPECT_EQ(historyX(), QList<double>({0, 1}));

  form->BoutonStopCapture->click();
  EXPECT_FALSE(form->Chart2->isVisible());
  EXPECT_TRUE(form->TimerSouris->Enabled());
  EXPECT_FALSE(form->TimerSuivi->Enabled());
  EXPECT_FALSE(form->TimerMarron->Enabled());
  EXPECT_FALSE(form->BoutonCapture->isEnabled());
  EXPECT_FALSE(form->BoutonStopCapture->isEnabled());
  EXPECT_EQ(form->Shape1->BrushColor(), clInactiveCaptionText);
  EXPECT_EQ(history().size(), 2);  // kept, hidden, until the next start

  start();
  EXPECT_TRUE(history().isEmpty());
  timers->runFor(3000);
  EXPECT_EQ(historyX(), QList<double>({0}));
}

TEST_F(Tracking, NoPickWhileTrackingRunsEvenWithOnOffTicked) {
  start();
  form->CheckBox1->setChecked(false);
  form->CheckBox1->setChecked(true);  // switches picking's timer on again
  ASSERT_TRUE(form->TimerSouris->Enabled());
  desk.cursor = QPoint(700, 600);
  desk.leftButton = true;
  timers->runFor(3000);
  EXPECT_EQ(picks(), 1);
  EXPECT_EQ(OrigX, 497);
  EXPECT_EQ(OrigY, 369);
  EXPECT_EQ(form->Image1->Picture(), desk.background.copy(497, 369, 30, 30));  // the tracked square
}

TEST_F(Tracking, AStopWithOnOffUntickedSwitchesPickingOnButPicksNothing) {
  start();
  form->CheckBox1->setChecked(false);  // erases the frame; tracking goes on
  EXPECT_EQ(desk.screen, desk.background);
  timers->runFor(3000);
  EXPECT_EQ(desk.screen.pixel(496, 368), qRgb(255, 0, 0));  // framed again by the measure
  EXPECT_EQ(history().size(), 1);

  form->BoutonStopCapture->click();
  EXPECT_TRUE(form->TimerSouris->Enabled());
  desk.leftButton = true;
  timers->runFor(1000);
  EXPECT_EQ(picks(), 1);
}

TEST_F(Tracking, AfterAnAutofocusRunInterruptsTrackingTheLampBlinksWithoutPoints) {
  start();
  timers->runFor(3000);
  ASSERT_EQ(history().size(), 1);
  // What an autofocus run switches off as it starts.
  form->TimerSouris->setEnabled(false);
  form->TimerSuivi->setEnabled(false);

  QStringList lamp;
  timers->afterTick = [&](TTimer*) { lamp << lampe(form->Shape1->BrushColor()); };
  timers->runFor(3000);
  EXPECT_EQ(lamp, QStringList({"repos", "vert", "repos", "vert", "repos", "vert"}));
  EXPECT_EQ(history().size(), 1);
  EXPECT_TRUE(form->Chart2->isVisible());
  EXPECT_TRUE(form->BoutonStopCapture->isEnabled());

  form->BoutonStopCapture->click();
  EXPECT_EQ(form->Shape1->BrushColor(), clInactiveCaptionText);
  EXPECT_FALSE(form->TimerMarron->Enabled());
  EXPECT_FALSE(form->Chart2->isVisible());
  EXPECT_TRUE(form->TimerSouris->Enabled());
}

TEST_F(Tracking, AFailedMeasureLeavesTheLampMaroonUntilTheNextTickAndTrackingGoesOn) {
  start();
  desk.fail = true;
  timers->runFor(3000);
  EXPECT_EQ(p.dialogs.texts(QStringLiteral("ErrorBox")), QStringList({"Capture du bureau impossible."}));
  EXPECT_EQ(p.dialogs.shown.last().caption, QStringLiteral("Trevast"));
  EXPECT_TRUE(history().isEmpty());
  EXPECT_TRUE(form->TimerSuivi->Enabled());
  EXPECT_FALSE(form->TimerMarron->Enabled());
  timers->runFor(2800);  // to 100 ms before the next tick
  EXPECT_EQ(form->Shape1->BrushColor(), clMaroon);

  desk.fail = false;
  timers->runFor(100);
  EXPECT_EQ(history().size(), 1);
  timers->runFor(500);
  EXPECT_EQ(form->Shape1->BrushColor(), clInactiveCaptionText);
}

TEST_F(Tracking, FailedMeasuresAddNoErrorBoxWhileOneIsOpen) {
  start();
  desk.fail = true;
  // Another error's box stays open for two tracking periods.
  p.dialogs.whileOpen = [&](const ScriptedDialogs::Shown&) { timers->runFor(6000); };
  guarded([] { throw Exception(QStringLiteral("Le focuser ne répond pas")); });
  EXPECT_EQ(p.dialogs.texts(QStringLiteral("ErrorBox")), QStringList({"Le focuser ne répond pas."}));
  EXPECT_TRUE(form->TimerSuivi->Enabled());
  EXPECT_EQ(form->Shape1->BrushColor(), clMaroon);
}

TEST_F(Tracking, AStopDuringAMeasureEndsTrackingWithNoPointAndNoBlinking) {
  const uint32_t t0 = start();
  p.time.at(t0 + 3050, [&] { form->BoutonStopCapture->click(); });
  timers->runFor(3000);
  EXPECT_TRUE(history().isEmpty());
  EXPECT_FALSE(form->TimerMarron->Enabled());
  timers->runFor(2000);
  EXPECT_EQ(form->Shape1->BrushColor(), clInactiveCaptionText);
}

TEST_F(Tracking, ClosingDuringAMeasureAddsNoPoint) {
  const uint32_t t0 = start();
  p.time.at(t0 + 3050, [] { Application->Terminate(); });
  timers->runFor(3000);
  EXPECT_TRUE(history().isEmpty());
  EXPECT_FALSE(form->TimerMarron->Enabled());
}

TEST_F(Tracking, TheLeftAxisWritesItsGraduationsBesideThePlotInTheLocaleFormat) {
  numfmt::SetDecimalSeparator(QLatin1Char('.'));
  start();
  timers->runFor(3000);
  EXPECT_EQ(texts(axisLabels()), QStringList({"5.17", "5.18"}));  // one FWHM of 5.171
  const QRectF plot = form->Chart2->chart()->plotArea();
  for (auto* label : axisLabels()) {
    const QRectF r = label->mapRectToParent(label->boundingRect());
    EXPECT_LE(r.right(), plot.left());
    EXPECT_GE(r.top(), 0);
    EXPECT_LE(r.bottom(), form->Chart2->height());
  }

  numfmt::SetDecimalSeparator(QLatin1Char(','));
  timers->runFor(3000);
  EXPECT_EQ(texts(axisLabels()), QStringList({"5,17", "5,18"}));
  desk.showImage(gaussianStar(30, 3.0), QPoint(497, 369));
  timers->runFor(3000);
  EXPECT_EQ(texts(axisLabels()), QStringList({"5", "6", "7"}));  // up to a FWHM of 6.86
}

TEST_F(Tracking, TheChartSitsInTheWindowOverNoControlButTheAutofocusLabels) {
  EXPECT_EQ(form->Chart2->geometry(), QRect(66, 120, 97, 61));
  EXPECT_TRUE(QRect(0, 0, 167, 330).contains(form->Chart2->geometry()));
  const QObjectList stack = form->children();
  for (QWidget* label : {form->LabelMesure, form->Label1, form->LabelChrono})
    EXPECT_GT(stack.indexOf(label), stack.indexOf(form->Chart2));  // drawn above it
  for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (w == form->Chart2 || w == form->LabelMesure || w == form->Label1 || w == form->LabelChrono) continue;
    if (w->isHidden() || !QRect(0, 0, 167, 330).intersects(w->geometry())) continue;
    EXPECT_FALSE(w->geometry().intersects(form->Chart2->geometry())) << w->metaObject()->className();
  }
  const QImage background = resources::historyBackground().image;
  EXPECT_EQ(form->Chart2->chart()->backgroundBrush().textureImage().convertToFormat(QImage::Format_RGB32),
            background.convertToFormat(QImage::Format_RGB32));
}
