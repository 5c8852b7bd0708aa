#include <gtest/gtest.h>

#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <cmath>
#include <numbers>

#include "app_fixture.h"
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

// A 30-pixel square of black sky with a white star `side` pixels wide in its
// middle: its FWHM is 2 side / sqrt(pi).
QImage star(int side) {
  QImage img(30, 30, QImage::Format_RGB32);
  img.fill(Qt::black);
  for (int y = 15 - side / 2; y < 15 - side / 2 + side; ++y)
    for (int x = 15 - side / 2; x < 15 - side / 2 + side; ++x) img.setPixel(x, y, qRgb(255, 255, 255));
  return img;
}

QString lamp(TColor c) {
  return c == clMoneyGreen ? "vert" : c == clMaroon ? "marron" : c == clInactiveCaptionText ? "repos" : "?";
}

struct Tracking : ::testing::Test {
  FailingDesktop desk;  // outlives the platform, whose end frees the canvas drawn on it
  TestPlatform p;
  std::unique_ptr<TForm1> form;
  std::unique_ptr<VirtualTimers> timers;

  void SetUp() override {
    p.services = std::make_unique<PlatformServices>(PlatformServices{
        desk, p.time, p.dialogs, p.com, p.registry, *p.version, p.services->programFolder});
    form = makeForm(p);
    form->xTaille = 30;
    desk.showImage(star(4), QPoint(497, 369));  // centred on (512, 384)
    desk.cursor = QPoint(512, 384);
    form->CheckBox1->setChecked(true);
    timers.reset(new VirtualTimers(p.time, {form->TimerSouris, form->TimerSuivi, form->TimerMarron}));
  }

  // Picks the star with one tick of the held button and starts tracking;
  // returns the clock at the start.
  uint32_t start() {
    desk.leftButton = true;
    timers->runFor(100);
    desk.leftButton = false;
    form->BoutonCapture->click();
    return p.time.GetTickCount();
  }
  int picks() const { return form->MemoLog->Lines().filter(QStringLiteral("Sélection étoile")).size(); }
  QList<QPointF> history() const { return form->Series4->points(); }
  QStringList axisLabels() const {
    QList<QGraphicsSimpleTextItem*> items;
    for (QGraphicsItem* item : form->Chart2->chart()->childItems())
      if (auto* t = qgraphicsitem_cast<QGraphicsSimpleTextItem*>(item)) items << t;
    std::sort(items.begin(), items.end(), [](auto* a, auto* b) { return a->pos().y() > b->pos().y(); });
    QStringList texts;
    for (auto* t : items) texts << t->text();
    return texts;
  }
};

}  // namespace

TEST_F(Tracking, PointsComeOnePeriodApartFromXZeroAndARestartBeginsAnEmptyHistory) {
  start();
  EXPECT_TRUE(form->Chart2->isVisible());
  EXPECT_FALSE(form->TimerSouris->Enabled());
  EXPECT_FALSE(form->BoutonCapture->isEnabled());
  EXPECT_TRUE(form->BoutonStopCapture->isEnabled());
  timers->runFor(2999);
  EXPECT_TRUE(history().isEmpty());
  timers->runFor(3001);
  const double fwhm = 2 * 4 / std::sqrt(std::numbers::pi);
  EXPECT_EQ(history(), QList<QPointF>({{0, fwhm}, {1, fwhm}}));

  form->BoutonStopCapture->click();
  EXPECT_FALSE(form->Chart2->isVisible());
  EXPECT_TRUE(form->TimerSouris->Enabled());
  EXPECT_FALSE(form->TimerSuivi->Enabled() || form->TimerMarron->Enabled());
  EXPECT_FALSE(form->BoutonCapture->isEnabled() || form->BoutonStopCapture->isEnabled());
  EXPECT_EQ(form->Shape1->BrushColor(), clInactiveCaptionText);

  start();
  EXPECT_TRUE(history().isEmpty());
  timers->runFor(3000);
  EXPECT_EQ(history().size(), 1);
  EXPECT_EQ(history()[0].x(), 0);
}

TEST_F(Tracking, TheLampIsMaroonForEachMeasureAndBlinksEveryHalfSecondBetween) {
  const uint32_t t0 = start();
  QStringList seen;
  timers->afterTick = [&](TTimer*) {
    seen << QString::number(p.time.GetTickCount() - t0) + ' ' + lamp(form->Shape1->BrushColor());
  };
  timers->runFor(6600);
  // Each measure waits 100 ms before its capture; the blinking starts again from its end.
  EXPECT_EQ(seen, QStringList({"500 vert", "1000 repos", "1500 vert", "2000 repos", "2500 vert", "3100 marron",
                               "3600 repos", "4100 vert", "4600 repos", "5100 vert", "5600 repos", "6100 marron",
                               "6600 repos"}));
}

TEST_F(Tracking, NoPickWhileTrackingRunsAndNoneAfterAStopWithOnOffUnticked) {
  start();
  form->CheckBox1->setChecked(false);  // erases the frame; tracking goes on
  form->CheckBox1->setChecked(true);   // switches picking's timer on again
  desk.cursor = QPoint(700, 600);
  desk.leftButton = true;
  timers->runFor(3000);
  EXPECT_EQ(picks(), 1);
  EXPECT_EQ(form->Image1->Picture(), desk.background.copy(497, 369, 30, 30));  // still the picked square
  EXPECT_EQ(desk.screen.pixel(496, 368), qRgb(255, 0, 0));                   // framed again

  form->CheckBox1->setChecked(false);
  form->BoutonStopCapture->click();
  EXPECT_TRUE(form->TimerSouris->Enabled());
  timers->runFor(1000);
  EXPECT_EQ(picks(), 1);
}

TEST_F(Tracking, AfterAnAutofocusRunInterruptsTrackingTheLampBlinksWithoutPoints) {
  start();
  timers->runFor(3000);
  form->TimerSouris->setEnabled(false);  // what a run switches off as it starts
  form->TimerSuivi->setEnabled(false);
  QStringList seen;
  timers->afterTick = [&](TTimer*) { seen << lamp(form->Shape1->BrushColor()); };
  timers->runFor(3000);
  EXPECT_EQ(seen, QStringList({"repos", "vert", "repos", "vert", "repos", "vert"}));
  EXPECT_EQ(history().size(), 1);
  EXPECT_TRUE(form->Chart2->isVisible() && form->BoutonStopCapture->isEnabled());
}

TEST_F(Tracking, AFailedMeasureKeepsTrackingWithTheLampMaroonAndAddsNoBoxWhileOneIsOpen) {
  start();
  desk.fail = true;
  // Another error's box is open for the next two periods.
  p.dialogs.whileOpen = [&](const ScriptedDialogs::Shown&) { timers->runFor(6000); };
  guarded([] { throw Exception(QStringLiteral("Le focuser ne répond pas")); });
  EXPECT_EQ(p.dialogs.texts(QStringLiteral("ErrorBox")), QStringList({"Le focuser ne répond pas."}));
  p.dialogs.whileOpen = nullptr;
  timers->runFor(3000);
  EXPECT_EQ(p.dialogs.texts(QStringLiteral("ErrorBox")).last(), QStringLiteral("Capture du bureau impossible."));
  EXPECT_TRUE(form->TimerSuivi->Enabled());
  EXPECT_FALSE(form->TimerMarron->Enabled());
  timers->runFor(2800);
  EXPECT_EQ(form->Shape1->BrushColor(), clMaroon);

  desk.fail = false;
  timers->runFor(700);
  EXPECT_EQ(history().size(), 1);
  EXPECT_EQ(form->Shape1->BrushColor(), clInactiveCaptionText);
}

TEST_F(Tracking, AStopOrACloseDuringAMeasureLeavesNoPointAndNoBlinking) {
  for (bool close : {false, true}) {
    const uint32_t t0 = start();
    p.time.at(t0 + 3050, [&] { close ? Application->Terminate() : form->BoutonStopCapture->click(); });
    timers->runFor(5000);
    EXPECT_TRUE(history().isEmpty());
    EXPECT_FALSE(form->TimerMarron->Enabled());
  }
}

TEST_F(Tracking, TheLeftAxisLabelsItsGraduationsBesideThePlotInTheLocaleFormat) {
  numfmt::SetDecimalSeparator(QLatin1Char('.'));
  start();
  timers->runFor(3000);
  EXPECT_EQ(axisLabels(), QStringList({"4.51", "4.52"}));  // a FWHM of 4.514
  p.time.ProcessMessages();  // the chart's layout makes room for them
  for (QGraphicsItem* label : form->Chart2->chart()->childItems())
    if (qgraphicsitem_cast<QGraphicsSimpleTextItem*>(label)) {
      const QRectF r = label->mapRectToParent(label->boundingRect());
      EXPECT_LE(r.right(), form->Chart2->chart()->plotArea().left());
      EXPECT_TRUE(QRectF(form->Chart2->rect()).contains(r));
    }
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  desk.showImage(star(5), QPoint(497, 369));
  timers->runFor(3000);
  EXPECT_EQ(axisLabels(), QStringList({"4,5", "5", "5,5", "6"}));  // up to 5.64
}

TEST_F(Tracking, TheChartCoversTheProfileChartAndMeetsNeitherTheAutofocusLabelsNorAnyOtherControl) {
  const QRect chart = form->Chart2->geometry();
  EXPECT_EQ(chart, form->Chart1->geometry());
  const QObjectList stack = form->children();
  EXPECT_GT(stack.indexOf(form->Chart2), stack.indexOf(form->Chart1));
  // The autofocus labels come and go during a run, so hidden ones count too.
  const QList<QWidget*> autofocusLabels = {form->LabelMesure, form->Label1, form->LabelChrono};
  for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (w != form->Chart1 && w != form->Chart2 && (autofocusLabels.contains(w) || !w->isHidden())) {
      EXPECT_FALSE(w->geometry().intersects(chart)) << w->metaObject()->className() << " at " << w->y();
    }
  }
  EXPECT_EQ(form->Chart2->chart()->backgroundBrush().textureImage().convertToFormat(QImage::Format_RGB32),
            resources::historyBackground().image.convertToFormat(QImage::Format_RGB32));
}
