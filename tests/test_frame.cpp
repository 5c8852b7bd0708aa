#include <gtest/gtest.h>

#include "app_fixture.h"
#include "measure/frame.h"

namespace {

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kSky = qRgb(40, 40, 40);

struct Framing : ::testing::Test {
  TestPlatform p;
  std::unique_ptr<TForm1> form;
  void SetUp() override {
    p.desktop.background.fill(kSky);
    p.desktop.screen.fill(kSky);
    // Something under the frames, so a block put back can be told from the sky.
    QImage picture(200, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) picture.setPixel(x, y, qRgb(x, y, 100));
    p.desktop.showImage(picture, QPoint(50, 50));
    form = makeForm(p);
    form->xTaille = 30;
  }
  // The frame of the square at (x, y), as star picking asks for it.
  void move(int x, int y) { DessineCadre(x - 1, y - 1, x + form->xTaille + 1, y + form->xTaille + 1, false); }
  // The background with one outline of `r` drawn on it.
  QImage withOutline(const QRect& r) const {
    QImage img = p.desktop.background;
    for (int x = r.left(); x <= r.right(); ++x) img.setPixel(x, r.top(), kRed), img.setPixel(x, r.bottom(), kRed);
    for (int y = r.top(); y <= r.bottom(); ++y) img.setPixel(r.left(), y, kRed), img.setPixel(r.right(), y, kRed);
    return img;
  }
  int redPixels(const QImage& img) const {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == kRed;
    return n;
  }
};

}  // namespace

TEST_F(Framing, TheFirstFrameSavesTheBlockUnderItAndDraws) {
  ASSERT_TRUE(IsFirstTime);
  move(100, 100);
  EXPECT_FALSE(IsFirstTime);
  EXPECT_EQ(OldX, 99);
  EXPECT_EQ(OldY, 99);
  EXPECT_EQ(form->Image2->Picture(), p.desktop.background.copy(99, 99, 32, 32));
  EXPECT_EQ(p.desktop.screen, withOutline(QRect(99, 99, 32, 32)));
  EXPECT_EQ(p.desktop.openContexts, 1);  // the frame move released its own
}

TEST_F(Framing, TwoMovesToTheSamePlaceLeaveOneFrame) {
  move(100, 100);
  move(100, 100);
  EXPECT_EQ(p.desktop.screen, withOutline(QRect(99, 99, 32, 32)));
  EXPECT_EQ(redPixels(form->Image2->Picture()), 0);
}

TEST_F(Framing, AnOverlappingMovePutsTheOldBlockBackBeforeSavingTheNew) {
  move(100, 100);
  move(110, 105);
  EXPECT_EQ(redPixels(form->Image2->Picture()), 0);
  EXPECT_EQ(form->Image2->Picture(), p.desktop.background.copy(109, 104, 32, 32));
  EXPECT_EQ(p.desktop.screen, withOutline(QRect(109, 104, 32, 32)));
}

TEST_F(Framing, AfterASizeChangeTheOldBlockGoesBackAtItsOwnSize) {
  move(100, 100);
  form->xTaille = 40;
  DessineRectangle(99, 99, 141, 141, false);  // a measurement at the new size
  move(200, 50);
  // The block of 32 went back; the larger frame's parts beyond it stay.
  EXPECT_EQ(p.desktop.screen.pixel(99, 99), p.desktop.background.pixel(99, 99));
  EXPECT_EQ(p.desktop.screen.pixel(140, 140), kRed);
  EXPECT_EQ(form->Image2->Picture().size(), QSize(42, 42));
}

TEST_F(Framing, TheRepaintErasesEveryFrame) {
  move(100, 100);
  DessineRectangle(10, 10, 20, 20, false);
  RafraichitBureau();
  EXPECT_EQ(p.desktop.screen, p.desktop.background);
  EXPECT_EQ(p.desktop.repaints, 1);
  RafraichitBureau();  // with no frame on the screen it only repaints
  EXPECT_EQ(p.desktop.repaints, 2);
  EXPECT_EQ(OldX, 99);  // the frame's record is the move's alone
}

TEST_F(Framing, AFrameAtTheScreenCornerSavesBlackBeyondTheEdge) {
  move(0, 0);
  const QImage block = form->Image2->Picture();
  EXPECT_EQ(block.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(block.pixel(31, 0), qRgb(0, 0, 0));
  EXPECT_EQ(block.pixel(1, 1), kSky);
  move(1000, 740);  // past the bottom right corner of 1024 x 768
  EXPECT_EQ(p.desktop.screen.pixel(0, 0), kSky);  // the corner block went back
  EXPECT_EQ(form->Image2->Picture().pixel(31, 31), qRgb(0, 0, 0));
  EXPECT_EQ(p.desktop.screen.pixel(999, 739), kRed);
}

TEST_F(Framing, NothingIsDrawnOnceTheDesktopCanvasIsFreed) {
  move(100, 100);
  form->close();
  ASSERT_EQ(p.desktop.screen, p.desktop.background);
  DessineRectangle(10, 10, 20, 20, false);
  move(300, 300);
  EXPECT_EQ(p.desktop.screen, p.desktop.background);
}
