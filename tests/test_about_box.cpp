#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "app/Unit2.h"
#include "app_fixture.h"
#include "text_room.h"


namespace {

void useVersionBlock(TestPlatform& p, const QByteArray& block) {
  auto version = std::make_unique<FixedVersionSource>(block);
  p.services = std::make_unique<PlatformServices>(PlatformServices{
      p.desktop, p.time, p.dialogs, p.com, p.registry, *version, p.services->programFolder});
  p.version = std::move(version);
}

// A modal opening, as the settings dialog does it; `whileOpen` closes the box.
int openModally(TAboutBox& box, std::function<void()> whileOpen) {
  QTimer::singleShot(0, &box, whileOpen);
  return box.exec();
}

QStringList pictureLines(const TForm1& form) {
  return form.Memo1->Lines().filter(QRegularExpression(QStringLiteral("^Image ")));
}

}  // namespace

TEST(AboutBox, ShowsNameVersionAndPicture) {
  TestPlatform p;
  useVersionBlock(p, "StringFileInfo\\040C04E4\\FileVersion=1.3.3.7\n");
  auto form = makeForm(p);
  TAboutBox box;
  EXPECT_EQ(box.windowTitle(), QStringLiteral("A propos"));
  EXPECT_EQ(box.Version->text(), QStringLiteral("Version 1.3.3.7"));
  EXPECT_TRUE(pictureLines(*form).isEmpty());
  // The lowered outer bevel, the raised inner one, the name's band, the picture.
  const QImage shot = box.grab().toImage();
  EXPECT_EQ(shot.pixel(8, 8), qRgb(0xA0, 0xA0, 0xA0));
  EXPECT_EQ(shot.pixel(9, 9), qRgb(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(shot.pixel(8 + 78 + 2, 8 + 16 + 18), qRgb(0xC0, 0xDC, 0xC0));
  EXPECT_EQ(shot.pixel(8 + 8 + 30, 8 + 8 + 5), box.ProgramIcon->Picture().pixel(30, 5));
}

TEST(AboutBox, WithoutVersionBlockOrFrenchTableShowsVersionAlone) {
  for (const QByteArray& block : {QByteArray(), QByteArray("StringFileInfo\\040904E4\\FileVersion=2.0\n")}) {
    TestPlatform p;
    useVersionBlock(p, block);
    auto form = makeForm(p);
    EXPECT_EQ(TAboutBox().Version->text(), QStringLiteral("Version "));
  }
}

TEST(AboutBox, OpensCentredOnTheScreenEachTimeAndClosesWithOk) {
  TestPlatform p;
  auto form = makeForm(p);
  TAboutBox box;
  QPoint centres[2];
  const int first = openModally(box, [&] {
    centres[0] = box.frameGeometry().center();
    box.move(0, 0);  // dragged aside before it is closed
    box.OKButton->click();
  });
  const int second = openModally(box, [&] {
    centres[1] = box.frameGeometry().center();
    QTest::keyClick(&box, Qt::Key_Return);  // OK is the default button
  });
  EXPECT_EQ(first, QDialog::Accepted);
  EXPECT_EQ(second, QDialog::Accepted);
  const QPoint middle = QGuiApplication::primaryScreen()->geometry().center();
  for (const QPoint& centre : centres) EXPECT_LE((centre - middle).manhattanLength(), 1);
}

TEST(AboutBox, UndecodablePictureLeavesNoPictureAndALineInTheDebugMemo) {
  TestPlatform p;
  auto form = makeForm(p);
  TAboutBox box(QByteArray("XX this is no picture"));
  EXPECT_TRUE(box.ProgramIcon->Picture().isNull());
  EXPECT_EQ(pictureLines(*form),
            QStringList{QStringLiteral("Image ProgramIcon illisible : Not a JPEG file: starts with 0x58 0x58")});
  EXPECT_TRUE(p.dialogs.shown.isEmpty());
  EXPECT_EQ(openModally(box, [&] { box.OKButton->click(); }), QDialog::Accepted);
  EXPECT_EQ(box.Version->text(), QStringLiteral("Version 1.3.3.7"));

  Form1 = nullptr;  // before the main window exists the picture is only left out
  EXPECT_TRUE(TAboutBox(QByteArray("XX")).ProgramIcon->Picture().isNull());
}

TEST(AboutBox, EveryTextShowsWholeInItsControl) {
  TestPlatform p;
  auto form = makeForm(p);
  TAboutBox box;
  box.show();
  EXPECT_EQ(textsCutOff(box), QStringList());
}
