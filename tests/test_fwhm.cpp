#include <QChartView>
#include <QLineSeries>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "measure/frame.h"
#include "measure/fwhm.h"
#include "platform/number_format.h"

namespace {

QImage square(int side, QRgb fill = qRgb(0, 0, 0)) {
  QImage img(side, side, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

// A star of Gaussian profile, `peak` above a sky of `sky` at pixel (c, c) of a
// square of `side`.
QImage gaussianStar(int side, double sigma, double peak = 250.0, int sky = 0) {
  QImage img = square(side);
  const int c = side / 2;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const double r2 = (x - c) * (x - c) + (y - c) * (y - c);
      const int v = sky + int(std::lround(peak * std::exp(-r2 / (2 * sigma * sigma))));
      img.setPixel(x, y, qRgb(v, v, v));
    }
  return img;
}

QList<double> ys(QLineSeries* s) {
  QList<double> out;
  for (const QPointF& p : s->points()) out.append(p.y());
  return out;
}

}  // namespace

// ---- The computation on a square ----

TEST(MesureEtoile, UniformGreyCountsEveryScannedPixel) {
  const StarMeasure m = mesureEtoile(square(30, qRgb(128, 128, 128)), 30);
  EXPECT_EQ(m.YMax, 1);
  EXPECT_EQ(m.IMin, 128.0);
  EXPECT_EQ(m.IMax, 128.0);
  EXPECT_EQ(m.K, 841);
  EXPECT_NEAR(m.fwhm, 32.72, 0.01);
  EXPECT_EQ(m.profil, QList<double>(29, 128.0));
  EXPECT_EQ(m.lignes, 29);
  EXPECT_EQ(couleurPic(m.IMax2), clGreen);
}

TEST(MesureEtoile, IntensitiesAreExactAndThePeakColourChangesPast100And200) {
  EXPECT_EQ(intensite(qRgb(80, 82, 244)), 99.75);
  EXPECT_EQ(intensite(qRgb(194, 195, 244)), 200.25);
  EXPECT_EQ(intensite(qRgb(255, 0, 0)), 77 * 255 / 256.0);
  EXPECT_EQ(couleurPic(99.75), clOrange);
  EXPECT_EQ(couleurPic(100.0), clGreen);
  EXPECT_EQ(couleurPic(200.0), clGreen);
  EXPECT_EQ(couleurPic(200.25), clRed);
}

TEST(MesureEtoile, ProfileIsTheRowOfTheFirstMaximum) {
  QImage img = square(30);
  img.setPixel(10, 3, qRgb(200, 200, 200));
  img.setPixel(4, 3, qRgb(50, 50, 50));
  img.setPixel(12, 7, qRgb(200, 200, 200));
  const StarMeasure m = mesureEtoile(img, 30);
  EXPECT_EQ(m.YMax, 3);
  ASSERT_EQ(m.profil.size(), 29);
  EXPECT_EQ(m.profil[9], 200.0);  // column 10: the profile starts at column 1
  EXPECT_EQ(m.profil[3], 50.0);
  EXPECT_EQ(m.IMax2, 200.0);
}

TEST(MesureEtoile, RowZeroAndColumnZeroAreIgnoredTheLastOnesCount) {
  QImage img = square(30);
  img.setPixel(0, 10, qRgb(255, 255, 255));
  img.setPixel(10, 0, qRgb(255, 255, 255));
  img.setPixel(8, 8, qRgb(100, 100, 100));
  EXPECT_EQ(mesureEtoile(img, 30).IMax, 100.0);
  img.setPixel(29, 29, qRgb(255, 255, 255));
  const StarMeasure m = mesureEtoile(img, 30);
  EXPECT_EQ(m.IMax, 255.0);
  EXPECT_EQ(m.YMax, 29);
}

TEST(MesureEtoile, APixelExactlyAtTheHalfLevelCounts) {
  QImage img = square(30);
  img.setPixel(5, 5, qRgb(200, 200, 200));
  img.setPixel(6, 5, qRgb(100, 100, 100));     // exactly half of 200
  img.setPixel(7, 5, qRgb(80, 82, 244));       // 99.75: below
  EXPECT_EQ(mesureEtoile(img, 30).K, 2);
}

TEST(MesureEtoile, AnAllBlackSquareHasNoPeakRow) {
  const StarMeasure m = mesureEtoile(square(30), 30);
  EXPECT_EQ(m.YMax, 0);
  EXPECT_TRUE(m.profil.isEmpty());
  EXPECT_EQ(m.IMax2, 0.0);
  EXPECT_EQ(m.demiNiveau, 0.0);
  EXPECT_EQ(m.K, 841);
}

TEST(MesureEtoile, SidesOutsideTheTableNeverOverrunIt) {
  const QImage white = square(100, qRgb(255, 255, 255));
  const StarMeasure big = mesureEtoile(white, 100);
  EXPECT_EQ(big.K, 39 * 39);
  EXPECT_EQ(big.profil.size(), 39);
  for (int side : {1, 0, -5}) {
    const StarMeasure m = mesureEtoile(white, side);
    EXPECT_EQ(m.K, 0) << side;
    EXPECT_EQ(m.fwhm, 0.0) << side;
    EXPECT_TRUE(m.profil.isEmpty()) << side;
    EXPECT_EQ(m.lignes, 0) << side;
    EXPECT_EQ(couleurPic(m.IMax2), clOrange) << side;
  }
  EXPECT_EQ(measuredSide(41), 40);
  EXPECT_EQ(measuredSide(-3), 0);
}

// ---- The measurement on the window ----

struct Measuring : ::testing::Test {
  TestPlatform p;
  std::unique_ptr<TForm1> form = makeForm(p);
  void SetUp() override {
    form->xTaille = 30;
    OrigX = 300;
    OrigY = 200;
  }
  void show(const QImage& img) { p.desktop.showImage(img, QPoint(OrigX, OrigY)); }
};

TEST_F(Measuring, ShowsTheSquareTheProfileAndTheReadouts) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  QImage img = square(30);
  img.setPixel(5, 7, qRgb(255, 255, 255));
  show(img);
  const double fwhm = CalculeFWHM(false);
  EXPECT_NEAR(fwhm, 1.1284, 1e-4);  // one pixel at or above the half level
  EXPECT_EQ(form->LabelFWHM->text(), QStringLiteral("1,1"));
  EXPECT_EQ(form->LabelIntMax->text(), QStringLiteral("255"));
  EXPECT_EQ(form->LabelIntMax->Color(), clRed);
  EXPECT_EQ(form->Image1->Picture(), img);
  QList<double> row(29, 0.0);
  row[4] = 255.0;
  EXPECT_EQ(ys(form->Series1), row);
  EXPECT_EQ(ys(form->Series2), QList<double>(29, 127.5));
  // The frame lies just outside the square.
  EXPECT_EQ(p.desktop.screen.pixel(299, 199), qRgb(255, 0, 0));
  EXPECT_EQ(p.desktop.screen.pixel(330, 230), qRgb(255, 0, 0));
  EXPECT_EQ(p.desktop.screen.pixel(300, 200), qRgb(0, 0, 0));
  EXPECT_EQ(p.desktop.openContexts, 1);  // only the desktop canvas's
}

TEST_F(Measuring, PeakTextRoundsWhileItsColourDoesNot) {
  QImage img = square(30);
  img.setPixel(10, 10, qRgb(80, 82, 244));
  show(img);
  CalculeFWHM(false);
  EXPECT_EQ(form->LabelIntMax->text(), QStringLiteral("100"));
  EXPECT_EQ(form->LabelIntMax->Color(), clOrange);
  img.setPixel(10, 10, qRgb(194, 195, 244));
  show(img);
  CalculeFWHM(false);
  EXPECT_EQ(form->LabelIntMax->text(), QStringLiteral("200"));
  EXPECT_EQ(form->LabelIntMax->Color(), clRed);
}

TEST_F(Measuring, AnAllBlackSquareLeavesTheProfileEmptyAndShowsPeakZero) {
  numfmt::SetDecimalSeparator(QLatin1Char('.'));
  form->Series1->append(0, 5);
  CalculeFWHM(false);
  EXPECT_TRUE(form->Series1->points().isEmpty());
  EXPECT_EQ(ys(form->Series2), QList<double>(29, 0.0));
  EXPECT_EQ(form->LabelIntMax->text(), QStringLiteral("0"));
  EXPECT_EQ(form->LabelIntMax->Color(), clOrange);
  EXPECT_EQ(form->LabelFWHM->text(), QStringLiteral("32.7"));
}

TEST_F(Measuring, ASideFromAHandEditedFileIsBroughtWithinTheTable) {
  form->xTaille = 64;
  show(square(64, qRgb(255, 255, 255)));
  CalculeFWHM(false);
  EXPECT_EQ(form->Image1->Picture().size(), QSize(40, 40));
  EXPECT_EQ(form->Series1->count(), 39);
  form->xTaille = 1;
  EXPECT_EQ(CalculeFWHM(false), 0.0);
  EXPECT_EQ(form->Series2->count(), 0);
}

TEST_F(Measuring, WithoutAutofocusTheLampIsLeftAloneAndNothingIsAsked) {
  form->xManuel = true;
  form->Shape1->setBrushColor(clWhite);
  CalculeFWHM(false);
  EXPECT_EQ(form->Shape1->BrushColor(), clWhite);
  EXPECT_TRUE(p.dialogs.shown.isEmpty());
}

TEST_F(Measuring, AnAutofocusMeasureTurnsTheLampMaroonForItsDuration) {
  QList<TColor> during;
  p.time.onPass = [&] { during.append(form->Shape1->BrushColor()); };
  CalculeFWHM(true);
  ASSERT_FALSE(during.isEmpty());
  EXPECT_EQ(during.first(), clMaroon);
  EXPECT_EQ(form->Shape1->BrushColor(), clInactiveCaptionText);
}

TEST_F(Measuring, ManualTriggerAsksWithTheProgramInFront) {
  form->xManuel = true;
  form->TimerSouris->setEnabled(false);
  bool timerOnWhileOpen = true;
  size_t inFront = 0;
  p.dialogs.whileOpen = [&](const ScriptedDialogs::Shown&) {
    timerOnWhileOpen = form->TimerSouris->Enabled();
    inFront = p.desktop.broughtToFront.size();
  };
  p.dialogs.answers = {ModalResult::OK};
  show(gaussianStar(30, 2.0));
  const double fwhm = CalculeFWHM(true);
  ASSERT_EQ(p.dialogs.shown.size(), 1);
  const auto& box = p.dialogs.shown.first();
  EXPECT_EQ(box.text, QStringLiteral("Déclenchez la prise de vue, puis appuyez sur le bouton OK quand la photo "
                                     "apparaît à l'écran"));
  EXPECT_EQ(box.caption, QStringLiteral("Avertissement"));
  EXPECT_EQ(box.buttons, (QList<MsgDlgBtn>{MsgDlgBtn::OK, MsgDlgBtn::Abort}));
  EXPECT_EQ(inFront, 1u);
  EXPECT_EQ(p.desktop.broughtToFront.front(), form.get());
  EXPECT_FALSE(timerOnWhileOpen);
  EXPECT_TRUE(form->TimerSouris->Enabled());
  EXPECT_EQ(form->Shape1->BrushColor(), clMaroon);
  EXPECT_GT(fwhm, 4.0);
}

TEST_F(Measuring, AbandoningTheManualTriggerStopsAndMeasuresNothing) {
  form->xManuel = true;
  p.dialogs.answers = {ModalResult::Abort};
  form->LabelMesure->show();
  form->LabelChrono->show();
  form->LabelFWHM->setText(QStringLiteral("3.2"));
  show(gaussianStar(30, 2.0));
  const QImage before = p.desktop.screen;
  EXPECT_EQ(CalculeFWHM(true), 99.0);
  EXPECT_TRUE(Halt);
  EXPECT_EQ(form->Shape1->BrushColor(), clInactiveCaptionText);
  EXPECT_TRUE(form->LabelMesure->isHidden());
  EXPECT_TRUE(form->LabelChrono->isHidden());
  EXPECT_TRUE(form->TimerSouris->Enabled());
  EXPECT_EQ(form->LabelFWHM->text(), QStringLiteral("3.2"));
  EXPECT_TRUE(form->Image1->Picture().isNull());
  EXPECT_EQ(p.desktop.screen, before);  // no frame
}

TEST_F(Measuring, WithHaltSetTheMeasureIsTakenAfterOnePass) {
  Halt = true;
  show(gaussianStar(30, 2.0));
  const uint32_t start = p.time.GetTickCount();
  p.time.passes = 0;
  const double fwhm = CalculeFWHM(false);
  EXPECT_EQ(p.time.GetTickCount(), start);
  EXPECT_EQ(p.time.passes, 2);  // the wait's one pass and the final one
  EXPECT_GT(fwhm, 4.0);
}

TEST_F(Measuring, ClosingDuringTheWaitDrawsAndMeasuresNothing) {
  show(gaussianStar(30, 2.0));
  p.time.at(p.time.GetTickCount() + 50, [&] { form->close(); });
  EXPECT_EQ(CalculeFWHM(false), 99.0);
  EXPECT_EQ(p.desktop.screen, p.desktop.background);
  EXPECT_TRUE(form->Image1->Picture().isNull());
}

// A faint star picked with a small square, then measured with larger and
// smaller ones: the frame of another size never lies inside the square when it
// is captured, and only the frame around the square stays on the screen.
TEST_F(Measuring, AFrameLeftAtAnotherSizeIsNeverMeasured) {
  form->xTaille = 20;
  show(gaussianStar(20, 2.0, 120.0));
  DessineCadre(OrigX - 1, OrigY - 1, OrigX + 21, OrigY + 21, false);  // as a pick frames it
  for (int side : {20, 30, 24}) {
    form->xTaille = side;
    const QImage clean = p.desktop.background.copy(QRect(OrigX, OrigY, side, side));
    EXPECT_DOUBLE_EQ(CalculeFWHM(false), mesureEtoile(clean, side).fwhm) << side;
    EXPECT_EQ(p.desktop.screen.copy(QRect(OrigX, OrigY, side, side)), clean) << side;
    int red = 0;
    for (int y = 0; y < p.desktop.screen.height(); ++y)
      for (int x = 0; x < p.desktop.screen.width(); ++x) red += p.desktop.screen.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_EQ(red, 4 * (side + 1)) << side;
  }
}

// Stars of known width: the disc of the pixels at or above half the peak
// gives about the Gaussian's FWHM, 2.3548 sigma.
TEST_F(Measuring, GaussianStarsOfKnownWidths) {
  const struct {
    double sigma;
    double fwhm;
  } stars[] = {{0.8, 1.128}, {1.0, 2.523}, {1.5, 3.385}, {2.0, 5.171}, {3.0, 6.864}, {4.0, 9.373}, {5.0, 11.781}};
  for (const auto& s : stars) {
    show(gaussianStar(30, s.sigma));
    const double fwhm = CalculeFWHM(false);
    std::printf("sigma %.1f  true FWHM %.3f  measured %.3f\n", s.sigma, 2.35482 * s.sigma, fwhm);
    EXPECT_NEAR(fwhm, s.fwhm, 0.001) << s.sigma;
  }
}

// A star over a grey sky of 50, 6 pixels from each edge and corner of the
// screen in turn: the square's pixels beyond the screen are left out of the
// measure, so the star measures as in the middle while it lies whole on the
// screen. Counted as black, it made the faint star 35.93 wide.
TEST_F(Measuring, AStarAtTheScreensEdgeMeasuresAsInTheMiddle) {
  const QSize screen = p.desktop.screen.size();
  const int right = screen.width() - 7, bottom = screen.height() - 7;
  const QPoint middle(screen.width() / 2, screen.height() / 2);
  const struct {
    const char* where;
    QPoint star;
  } places[] = {{"middle", middle},        {"left", {6, middle.y()}},        {"right", {right, middle.y()}},
                {"top", {middle.x(), 6}},  {"bottom", {middle.x(), bottom}}, {"top left", {6, 6}},
                {"top right", {right, 6}}, {"bottom left", {6, bottom}},     {"bottom right", {right, bottom}}};
  form->xTaille = 40;
  for (int peak : {90, 200}) {
    const QImage star = gaussianStar(41, 2.0, peak - 50, 50);
    for (const auto& place : places) {
      p.desktop.background.fill(qRgb(50, 50, 50));
      p.desktop.screen = p.desktop.background;
      p.desktop.showImage(star, place.star - QPoint(20, 20));
      OrigX = place.star.x() - 20;
      OrigY = place.star.y() - 20;
      EXPECT_NEAR(CalculeFWHM(false), 5.171, 0.001) << place.where << ", peak " << peak;
      // The profile keeps the star at its column of the square.
      const QList<QPointF> profile = form->Series1->points();
      const auto top =
          std::max_element(profile.begin(), profile.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
      ASSERT_NE(top, profile.end()) << place.where;
      EXPECT_EQ(top->x(), 19.0) << place.where;
    }
  }
}
