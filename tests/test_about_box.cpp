#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "app/Unit2.h"
#include "app_fixture.h"
#include "platform/controls.h"

void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

// The test platform with `block` as the program's version block.
void useVersionBlock(TestPlatform& p, const QByteArray& block) {
  auto version = std::make_unique<FixedVersionSource>(block);
  p.services = std::make_unique<PlatformServices>(PlatformServices{
      p.desktop, p.time, p.dialogs, p.com, p.registry, *version, p.services->programFolder});
  p.version = std::move(version);
}

// Opens the box modally as the settings dialog does; `whileOpen` runs inside
// the modal loop and must close the box.
int openModally(TAboutBox& box, std::function<void()> whileOpen) {
  QTimer::singleShot(0, &box, whileOpen);
  return box.exec();
}

QPoint middleOfScreen() { return QGuiApplication::primaryScreen()->geometry().center(); }

const QByteArray kNotAJpeg("XX this is no picture");

QStringList pictureLines(const TForm1& form) {
  return form.Memo1->Lines().filter(QRegularExpression(QStringLiteral("^Image ")));
}

}  // namespace

TEST(AboutBox, ShowsNameAndVersionFromTheVersionBlock) {
  TestPlatform p;
  useVersionBlock(p, "StringFileInfo\\040C04E4\\FileVersion=1.3.3.7\n");
  auto form = makeForm(p);
  TAboutBox box;
  EXPECT_EQ(box.windowTitle(), QStringLiteral("A propos"));
  EXPECT_EQ(box.size(), QSize(298, 200));
  EXPECT_EQ(box.ProductName->text(), QStringLiteral("Trevast"));
  EXPECT_EQ(box.Version->text(), QStringLiteral("Version 1.3.3.7"));
  EXPECT_EQ(box.Version->width(), box.Version->sizeHint().width());  // grows with its text
  EXPECT_EQ(box.ProgramIcon->Picture().size(), QSize(65, 57));
  EXPECT_TRUE(pictureLines(*form).isEmpty());
}

TEST(AboutBox, WithoutVersionBlockOrFrenchTableShowsVersionAlone) {
  for (const QByteArray& block : {QByteArray(), QByteArray("StringFileInfo\\040904E4\\FileVersion=2.0\n")}) {
    TestPlatform p;
    useVersionBlock(p, block);
    auto form = makeForm(p);
    TAboutBox box;
    EXPECT_EQ(box.Version->text(), QStringLiteral("Version "));
  }
}

TEST(AboutBox, OpensCentredOnTheScreenEachTimeAndClosesWithOk) {
  TestPlatform p;
  auto form = makeForm(p);
  TAboutBox box;
  QPoint centres[2];
  const int first = openModally(box, [&] {
    centres[0] = box.frameGeometry().center();
    box.move(0, 0);  // the user drags it aside before closing it
    box.OKButton->click();
  });
  const int second = openModally(box, [&] {
    centres[1] = box.frameGeometry().center();
    QTest::keyClick(&box, Qt::Key_Return);  // OK is the default button
  });
  EXPECT_EQ(first, QDialog::Accepted);
  EXPECT_EQ(second, QDialog::Accepted);
  for (const QPoint& centre : centres) EXPECT_LE((centre - middleOfScreen()).manhattanLength(), 1);
  EXPECT_EQ(box.Version->text(), QStringLiteral("Version 1.3.3.7"));
}

TEST(AboutBox, DrawsThePanelThePictureAndTheGreenName) {
  TestPlatform p;
  auto form = makeForm(p);
  TAboutBox box;
  const QImage shot = box.grab().toImage();
  EXPECT_EQ(shot.pixel(8, 8), qRgb(0xA0, 0xA0, 0xA0));  // lowered outer bevel: shaded top-left
  EXPECT_EQ(shot.pixel(9, 9), qRgb(0xFF, 0xFF, 0xFF));  // raised inner bevel: lit top-left
  EXPECT_EQ(shot.pixel(8 + 78 + 2, 8 + 16 + 18), qRgb(0xC0, 0xDC, 0xC0));  // clMoneyGreen
  const QImage picture = box.ProgramIcon->Picture();
  EXPECT_EQ(shot.pixel(8 + 8 + 30, 8 + 8 + 5), picture.pixel(30, 5));
}

TEST(AboutBox, UndecodablePictureLeavesNoPictureAndALineInTheDebugMemo) {
  TestPlatform p;
  auto form = makeForm(p);
  TAboutBox box(kNotAJpeg);
  EXPECT_TRUE(box.ProgramIcon->Picture().isNull());
  EXPECT_EQ(pictureLines(*form),
            QStringList{QStringLiteral("Image ProgramIcon illisible : Not a JPEG file: starts with 0x58 0x58")});
  EXPECT_TRUE(p.dialogs.shown.isEmpty());
  box.grab();  // draws without the picture
  EXPECT_EQ(openModally(box, [&] { box.OKButton->click(); }), QDialog::Accepted);
  EXPECT_EQ(box.Version->text(), QStringLiteral("Version 1.3.3.7"));
}

TEST(AboutBox, UndecodablePictureBeforeTheMainWindowExistsIsOnlyLeftOut) {
  Form1 = nullptr;
  TAboutBox box(kNotAJpeg);
  EXPECT_TRUE(box.ProgramIcon->Picture().isNull());
  EXPECT_EQ(box.Version->text(), QStringLiteral("Version 1.3.3.7"));
}
