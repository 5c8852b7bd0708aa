#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "measure/delay.h"
#include "platform/clock_system.h"
#include "platform/event_pump_qt.h"

namespace {

struct Waiting : ::testing::Test {
  TestPlatform p;
  std::unique_ptr<TForm1> form = makeForm(p);
  QStringList captions;  // LabelChrono's text at each pass of events
  void SetUp() override {
    p.time.passes = 0;  // count only the passes of the wait under test
    p.time.onPass = [this] { captions.append(form->LabelChrono->text()); };
  }
  QString chrono() const { return form->LabelChrono->text(); }
};

}  // namespace

TEST(ChronoCaption, FollowsTheCountdownTable) {
  const struct {
    uint32_t msecs, remaining;
    const char* caption;
  } rows[] = {{3000, 3000, "03:03"},    {3000, 2000, "02:02"},    {3000, 1500, "01:56"},   {3000, 999, "01:01"},
              {3000, 998, "00:00"},     {3000, 100, "00:11"},     {9999, 9999, "010:11"},  {10000, 10000, "10:11"},
              {10000, 9000, "9:00"},    {60000, 60000, "0:66"},   {120000, 120000, "0:23"}};
  for (const auto& r : rows)
    EXPECT_EQ(chronoCaption(r.msecs, r.remaining), QString::fromLatin1(r.caption)) << r.msecs << " " << r.remaining;
}

TEST_F(Waiting, AVisibleWaitCountsDownAndEndsOnTimeAtRest) {
  const uint32_t start = p.time.GetTickCount();
  Delay(3000, true);
  EXPECT_EQ(p.time.GetTickCount() - start, 3000u);
  ASSERT_FALSE(captions.isEmpty());
  EXPECT_EQ(captions.first(), QStringLiteral("03:03"));
  EXPECT_GT(QSet<QString>(captions.begin(), captions.end()).size(), 20);  // the countdown moves
  EXPECT_TRUE(captions[captions.size() - 2].startsWith(QStringLiteral("00:")));
  EXPECT_TRUE(form->LabelChrono->isVisible());
  EXPECT_EQ(chrono(), QStringLiteral("00:00"));
}

TEST_F(Waiting, AWaitOfZeroServesEventsOnce) {
  form->LabelChrono->setText(QStringLiteral("05:55"));
  Delay(0, true);
  EXPECT_EQ(p.time.passes, 1);
  EXPECT_EQ(captions, QStringList{QStringLiteral("00:00")});
  EXPECT_TRUE(form->LabelChrono->isVisible());
  EXPECT_EQ(chrono(), QStringLiteral("00:00"));
}

TEST_F(Waiting, AHiddenWaitHidesTheLabelAndWritesOnlyTheRestText) {
  form->LabelChrono->show();
  form->LabelChrono->setText(QStringLiteral("02:02"));
  Delay(500, false);
  EXPECT_TRUE(form->LabelChrono->isHidden());
  EXPECT_EQ(captions.count(QStringLiteral("02:02")), captions.size());
  EXPECT_EQ(chrono(), QStringLiteral("00:00"));
}

TEST_F(Waiting, HaltSetOnEntryEndsAfterOnePassWithoutTheRestText) {
  Halt = true;
  const uint32_t start = p.time.GetTickCount();
  Delay(3000, true);
  EXPECT_EQ(p.time.passes, 1);
  EXPECT_EQ(p.time.GetTickCount(), start);
  EXPECT_TRUE(form->LabelChrono->isVisible());
  EXPECT_EQ(chrono(), QStringLiteral("03:03"));
}

TEST_F(Waiting, AStopDuringAVisibleWaitLeavesTheLastCountdownHidden) {
  const uint32_t start = p.time.GetTickCount();
  p.time.at(start + 1500, [&] {
    Halt = true;  // as the stop button does
    form->LabelChrono->hide();
  });
  Delay(3000, true);
  EXPECT_GE(p.time.GetTickCount() - start, 1500u);
  EXPECT_LT(p.time.GetTickCount() - start, 1600u);  // within the slice it came in
  EXPECT_TRUE(form->LabelChrono->isHidden());
  EXPECT_EQ(chrono(), captions.last());
  EXPECT_NE(chrono(), QStringLiteral("00:00"));
}

TEST_F(Waiting, AWaitAcrossTheWrapOfTheTickCountLastsItsFullDuration) {
  p.time.set(0xFFFFFFFFu - 500);
  Delay(3000, false);
  EXPECT_EQ(p.time.GetTickCount(), 2499u);
}

TEST_F(Waiting, ClosingTheWindowEndsALongWaitWithTheSettingsWritten) {
  form->xTaille = 34;
  const uint32_t start = p.time.GetTickCount();
  p.time.at(start + 5000, [&] { form->close(); });
  Delay(600000, true);
  EXPECT_LT(p.time.GetTickCount() - start, 5100u);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_TRUE(p.readIni().contains("Taille=34"));
  EXPECT_EQ(xCanvasBureau, nullptr);
  EXPECT_EQ(p.desktop.repaints, 1);
}

// The real event loop and clock: the close comes from a timer while the wait
// blocks in the event dispatcher, and the wait returns at once.
TEST(WaitingForReal, ClosingTheWindowEndsALongWaitPromptly) {
  TestPlatform p;
  SystemClock clock;
  QtEventPump pump;
  PlatformServices services{p.desktop, clock, p.dialogs, p.com, p.registry, *p.version, p.services->programFolder};
  TApplication application(pump, p.dialogs);
  Application = &application;
  auto form = std::make_unique<TForm1>(services);
  Form1 = form.get();
  form->FormCreate();
  form->show();
  QTimer::singleShot(200, [&] { form->close(); });
  QElapsedTimer elapsed;
  elapsed.start();
  Delay(60000, true);
  EXPECT_LT(elapsed.elapsed(), 2000);
  EXPECT_TRUE(p.readIni().contains("[Programme]"));
  Application = p.application.get();
}
