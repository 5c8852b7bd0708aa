#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <limits>
#include <sys/stat.h>

#include "app_fixture.h"
#include "faulty_folder.h"
#include "app/settings_store.h"
#include "app/window_place.h"
#include "platform/number_format.h"

namespace {

const QByteArray kNewFileAfterClose =
    "[Focuser]\r\n"
    "Name=\r\n"
    "Driver=\r\n"
    "Position=0\r\n"
    "Position MAP=0\r\n"
    "Limite basse=0\r\n"
    "Limite haute=99999\r\n"
    "[Autofocus]\r\n"
    "Tolerance=3\r\n"
    "LowSpeed=2\r\n"
    "HighSpeed=3\r\n"
    "M\xE9thode=0\r\n"
    "Mesures=2\r\n"
    "Taille=20\r\n"
    "Delai suivi=3\r\n"
    "Manuel=0\r\n"
    "FWHM cible=0.00\r\n"
    "[Programme]\r\n";

}  // namespace

TEST(SettingsFile, NoFileGivesTheDefaultsAndTheCloseCreatesItInItsOrder) {
  TestPlatform p;
  auto form = makeForm(p);
  EXPECT_EQ(form->FocDriver, "");
  EXPECT_EQ(form->xPosition, 0);
  EXPECT_EQ(form->xPositionMap, 0);
  EXPECT_EQ(form->xLimiteBasse, 0);
  EXPECT_EQ(form->xLimiteHaute, 99999);
  EXPECT_EQ(form->xPasLent, 2);
  EXPECT_EQ(form->xPasRapide, 3);
  EXPECT_EQ(form->xTolerance, 3);
  EXPECT_EQ(form->xMethode, 0);
  EXPECT_EQ(form->xNbMesures, 2);
  EXPECT_EQ(form->xDelaiAutofocus, 3);
  EXPECT_EQ(form->xTaille, 20);
  EXPECT_EQ(form->xCible, 0.0);
  EXPECT_FALSE(form->xManuel);
  EXPECT_EQ(form->FormGauche, -1);
  EXPECT_EQ(form->FormHaut, -1);
  EXPECT_EQ(form->pos(), QPoint(563, 163));

  form->close();
  const QByteArray written = p.readIni();
  EXPECT_TRUE(written.startsWith(kNewFileAfterClose)) << written.toStdString();
  EXPECT_TRUE(written.endsWith("Gauche=563\r\nHaut=163\r\n")) << written.toStdString();
}

TEST(SettingsFile, EveryKeyIsReadAndWrittenBackWhereItStandsWithUnknownLinesKept) {
  numfmt::SetDecimalSeparator(',');
  TestPlatform p;
  const QByteArray file =
      "; notes kept by hand\n"
      "[Focuser]\n"
      "Driver=FCUSB.Focuser\n"
      "Name=Mon focuser\n"
      "Position=0x10\n"
      "Position MAP=1234\n"
      "Limite basse=-50\n"
      "Limite haute=4000\n"
      "Extra=unknown key\n"
      "[Mine]\n"
      "Colour=blue\n"
      "[Autofocus]\n"
      "LowSpeed=4\n"
      "HighSpeed=12abc\n"
      "Tolerance=5\n"
      "M\xE9thode=1\n"
      "Mesures=7\n"
      "Delai suivi=0\n"
      "Taille=36\n"
      "FWHM cible=12,345\n"
      "Manuel=2\n"
      "[Programme]\n"
      "Gauche=100\n"
      "Haut=-1\n";
  p.writeIni(file);
  auto form = makeForm(p);
  EXPECT_EQ(form->FocDriver, "FCUSB.Focuser");
  EXPECT_EQ(form->FocName, "Mon focuser");
  EXPECT_EQ(form->xPosition, 16);
  EXPECT_EQ(form->xPositionMap, 1234);
  EXPECT_EQ(form->xLimiteBasse, -50);
  EXPECT_EQ(form->xLimiteHaute, 4000);
  EXPECT_EQ(form->xPasLent, 4);
  EXPECT_EQ(form->xPasRapide, 3) << "12abc gives the default";
  EXPECT_EQ(form->xTolerance, 5);
  EXPECT_EQ(form->xMethode, 1);
  EXPECT_EQ(form->xNbMesures, 7);
  EXPECT_EQ(form->xDelaiAutofocus, 0);
  EXPECT_EQ(form->xTaille, 36);
  EXPECT_DOUBLE_EQ(form->xCible, 12.345);
  EXPECT_FALSE(form->xManuel) << "only 1 turns the manual trigger on";
  EXPECT_EQ(form->pos(), QPoint(563, 163)) << "a place counts only when both values are stored";

  form->move(70, 80);
  form->close();
  QByteArray expected = file;
  expected.replace("Position=0x10", "Position=16")
      .replace("HighSpeed=12abc", "HighSpeed=3")
      .replace("FWHM cible=12,345", "FWHM cible=12,30")
      .replace("Manuel=2", "Manuel=0")
      .replace("Gauche=100", "Gauche=70")
      .replace("Haut=-1", "Haut=80");
  EXPECT_EQ(p.readIni(), expected);
}

TEST(SettingsFile, AStoredPlaceIsAppliedBeforeTheWindowIsShown) {
  TestPlatform p;
  p.writeIni("[Programme]\r\nGauche=20\r\nHaut=300\r\n");
  QPoint placeAtShow;
  auto form = makeForm(p, false);
  form->show();
  placeAtShow = form->pos();
  EXPECT_EQ(placeAtShow, QPoint(20, 300));

  // On the 800 x 800 screen the frame comes whole onto it, and the close
  // writes where it stands: placed with a title bar of 24 guessed above the
  // 167 x 330 client area, then checked again with the frame the window got
  // once shown, 2 pixels on each side (171 x 334).
  const struct {
    const char* stored;
    QPoint placed;
  } cases[] = {
      {"Gauche=1100\r\nHaut=900", {629, 446}},                // beyond the far corner
      {"Gauche=100\r\nHaut=500", {100, 446}},                 // its lower part below the edge: moved up
      {"Gauche=-20\r\nHaut=300", {0, 300}},                   // its left part beyond the edge
      {"Gauche=2147483647\r\nHaut=2147483647", {629, 446}},  // the largest integers: the far corner
      {"Gauche=-2147483648\r\nHaut=-2147483648", {0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    p.writeIni(QByteArray("[Programme]\r\n") + c.stored + "\r\n");
    form = makeForm(p);
    EXPECT_EQ(form->pos(), c.placed);
    form->close();
    EXPECT_TRUE(p.readIni().contains(
        QStringLiteral("Gauche=%1\r\nHaut=%2\r\n").arg(c.placed.x()).arg(c.placed.y()).toLatin1()));
  }
}

TEST(SettingsFile, ATargetWrittenWithTheOtherSeparatorReadsAsItsNumber) {
  numfmt::SetDecimalSeparator('.');
  TestPlatform p;
  p.writeIni("[Autofocus]\nFWHM cible=1,20\nManuel=1\n");
  auto form = makeForm(p);
  EXPECT_DOUBLE_EQ(form->xCible, 1.2);
  EXPECT_TRUE(form->xManuel);
  EXPECT_TRUE(p.dialogs.shown.isEmpty());
  form->close();
  EXPECT_TRUE(p.readIni().contains("FWHM cible=1.20\n"));
}

TEST(SettingsFile, AnUnreadableTargetIsToldOnceAndEveryOtherKeyIsStillRead) {
  TestPlatform p;
  p.writeIni("[Autofocus]\nFWHM cible=abc\nManuel=1\n[Programme]\nGauche=10\nHaut=20\n");
  auto form = makeForm(p);
  ASSERT_EQ(p.dialogs.texts("ErrorBox"),
            QStringList{QString::fromUtf8("'abc' n'est pas une valeur en virgule flottante correcte.")});
  EXPECT_EQ(form->xCible, 0.0);
  EXPECT_TRUE(form->xManuel);
  EXPECT_EQ(form->pos(), QPoint(10, 20));
  form->xCible = 2.5;
  form->close();
  EXPECT_TRUE(p.readIni().contains("FWHM cible=2.50\n"));
}

TEST(SettingsFile, SizesBeyondWhatTheMeasureHoldsAreBroughtDownAndLogged) {
  TestPlatform p;
  p.writeIni("[Autofocus]\nTaille=50\nMesures=25\n");
  auto form = makeForm(p);
  EXPECT_EQ(form->xTaille, 40);
  EXPECT_EQ(form->xNbMesures, 10);
  const QStringList log = form->MemoLog->Lines();
  ASSERT_GE(log.size(), 3);
  EXPECT_EQ(log[0], "Trevast version 1.3.3.7") << "the version line comes before the file is read";
  EXPECT_EQ(log[1], QString::fromUtf8("Mesures trop grandes dans trevast.ini : 10 utilisé."));
  EXPECT_EQ(log[2], QString::fromUtf8("Taille trop grande dans trevast.ini : 40 utilisé."));
}

// Numbers edited by hand outside what their controls offer are brought to the
// nearer bound (a method outside the list: the first), each said in the log,
// and written back so at the close; the bounds stay as they are read.
TEST(SettingsFile, NumbersReadOutsideTheirRangesAreBroughtToTheNearerBoundLoggedAndWrittenBack) {
  const QByteArray lows = "M\xE9thode=0\nLowSpeed=0\nHighSpeed=0\nTolerance=0\nMesures=1\nDelai suivi=0\n";
  const QByteArray highs = "M\xE9thode=1\nLowSpeed=10\nHighSpeed=95\nTolerance=6\nMesures=10\nDelai suivi=120\n";
  struct Case {
    QByteArray read, written;
    QStringList lines;
  };
  const Case cases[] = {
      {"M\xE9thode=7\nLowSpeed=-3\nHighSpeed=500\nTolerance=50\nMesures=500\nDelai suivi=-4\n",
       "M\xE9thode=0\nLowSpeed=0\nHighSpeed=95\nTolerance=6\nMesures=10\nDelai suivi=0\n",
       {"LowSpeed trop petit dans trevast.ini : 0 utilisé.", "HighSpeed trop grand dans trevast.ini : 95 utilisé.",
        "Tolerance trop grande dans trevast.ini : 6 utilisé.", "Méthode inconnue dans trevast.ini : 0 utilisé.",
        "Mesures trop grandes dans trevast.ini : 10 utilisé.", "Delai suivi trop petit dans trevast.ini : 0 utilisé."}},
      {"M\xE9thode=-1\nMesures=0\n", "M\xE9thode=0\nMesures=1\n",
       {"Méthode inconnue dans trevast.ini : 0 utilisé.", "Mesures trop petites dans trevast.ini : 1 utilisé."}},
      {lows, lows, {}},
      {highs, highs, {}},
  };
  for (const Case& c : cases) {
    TestPlatform p;
    p.writeIni("[Autofocus]\n" + c.read);
    auto form = makeForm(p);
    EXPECT_EQ(form->MemoLog->Lines().filter(QStringLiteral("trevast.ini")), c.lines) << c.read.toStdString();
    form->close();
    EXPECT_TRUE(p.readIni().startsWith("[Autofocus]\n" + c.written)) << p.readIni().toStdString();
  }
}

TEST(SettingsFile, ASquareSizeBelowTheDialogsRangeIsBroughtUpLoggedAndWrittenBack) {
  for (const char* taille : {"0", "1", "-30", "18"}) {
    SCOPED_TRACE(taille);
    TestPlatform p;
    p.writeIni(QByteArray("[Autofocus]\nTaille=") + taille + "\n");
    auto form = makeForm(p);
    EXPECT_EQ(form->xTaille, 20);
    EXPECT_EQ(form->MemoLog->Lines().value(1), QString::fromUtf8("Taille trop petite dans trevast.ini : 20 utilisé."));
    form->close();
    EXPECT_TRUE(p.readIni().contains("Taille=20\n"));
  }
}

TEST(SettingsFile, AWriteThatFailsAtCloseIsToldAndTheProgramStillEnds) {
  TestPlatform p;
  p.services->programFolder = p.folder.path() + "/gone/";
  auto form = makeForm(p);
  form->close();
  EXPECT_EQ(p.dialogs.texts("ErrorBox"),
            QStringList{QString::fromUtf8("Impossible d'écrire dans ") + p.folder.path() + "/gone/trevast.ini."});
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(xCanvasBureau, nullptr);
}

TEST(SettingsStore, TheTargetIsWrittenWithThreeSignificantDigitsAndTwoDecimals) {
  numfmt::SetDecimalSeparator(',');
  EXPECT_EQ(formatCible(1.2), "1,20");
  EXPECT_EQ(formatCible(12.345), "12,30");
  numfmt::SetDecimalSeparator('.');
  EXPECT_EQ(formatCible(1.2), "1.20");
}

TEST(SettingsFile, APipeInPlaceOfTheFileNeverHoldsTheStartAndIsToldAtStartAndAtClose) {
  TestPlatform p;
  const QString path = p.folder.path() + "/trevast.ini";
  ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
  auto form = makeForm(p);
  EXPECT_EQ(std::tuple(form->xLimiteHaute, form->xTaille, form->FormGauche), std::tuple(99999, 20, -1));
  form->close();
  EXPECT_EQ(p.dialogs.texts("ErrorBox"), (QStringList{QString::fromUtf8("Impossible de lire ") + path + ".",
                                                      QString::fromUtf8("Impossible d'écrire dans ") + path + "."}));
  EXPECT_FALSE(QFileInfo(path).isFile()) << "the pipe was replaced";
}

TEST(SettingsFile, AFileWhoseReadFailsIsToldAtStartAndKeptByteForByteAtClose) {
  FaultyFolder disk;
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
  QByteArray file =
      "[Focuser]\r\nDriver=FCUSB.Focuser\r\nPosition=2500\r\nLimite basse=100\r\nLimite haute=30000\r\n"
      "[Autofocus]\r\nTolerance=5\r\nMesures=7\r\nTaille=36\r\n[Programme]\r\nGauche=70\r\nHaut=80\r\n[Notes]\r\n";
  for (int i = 0; file.size() < 40 * 1024; ++i) file += QStringLiteral("Nuit%1=ciel clair\r\n").arg(i).toLatin1();
  // The disk fails after the values, then at the first byte.
  for (const qint64 readable : {8 * 1024, 0}) {
    disk.put("trevast.ini", file, readable);
    TestPlatform p;
    p.services->programFolder = disk.path() + QLatin1Char('/');
    auto form = makeForm(p);
    EXPECT_EQ(std::tuple(form->FocDriver, form->xPosition, form->xLimiteHaute, form->xTaille),
              std::tuple(QString(), 0, 99999, 20))
        << "the start goes on with the defaults, as with a file it may not open";
    form->close();
    const QString path = disk.filePath("trevast.ini");
    EXPECT_EQ(p.dialogs.texts("ErrorBox"), (QStringList{QString::fromUtf8("Impossible de lire ") + path + ".",
                                                        QString::fromUtf8("Impossible d'écrire dans ") + path + "."}))
        << readable;
    EXPECT_EQ(disk.bytes("trevast.ini").size(), file.size()) << readable;
    EXPECT_TRUE(disk.bytes("trevast.ini") == file) << readable;
    EXPECT_EQ(disk.names(), QStringList{"trevast.ini"});
  }
}

TEST(WindowPlace, TheWholeFrameComesOntoTheScreenThatShowsMostOfItMovedTheLeast) {
  const QRect small(0, 0, 800, 600), big(800, -200, 1920, 1080);
  auto place = [&](int x, int y, QList<QRect> screens = {QRect(0, 0, 800, 600)}) {
    return placeOnScreen(QPoint(x, y), QSize(167, 350), screens);
  };
  const int most = std::numeric_limits<int>::max(), least = std::numeric_limits<int>::min();
  const struct {
    QPoint stored;
    QList<QRect> screens;
    QPoint placed;
    const char* why;
  } cases[] = {
      {{0, 250}, {small}, {0, 250}, "whole on the screen: unchanged"},
      {{633, 0}, {small}, {633, 0}, "touching the far edges: unchanged"},
      {{100, 400}, {small}, {100, 250}, "below the edge: moved up, as far as needed"},
      {{760, 590}, {small}, {633, 250}, "most of it beyond the corner"},
      {{-20, 300}, {small}, {0, 250}, "beyond the left edge"},
      {{100, -11}, {small}, {100, 0}, "its title bar above the top"},
      {{1100, 700}, {small}, {633, 250}, "off the screen"},
      {{740, 100}, {small, big}, {800, 100}, "across two screens: onto the one that shows most of it"},
      {{3000, 100}, {small, big}, {2553, 100}, "beside the larger screen"},
      {{500, 700}, {small, big}, {500, 250}, "below the smaller one, nearer to it"},
      {{900, 950}, {small, big}, {900, 530}, "below the larger one"},
      {{most, most}, {small, big}, {2553, 530}, "the largest integers: the far corner of the nearest"},
      {{least, least}, {small, big}, {0, 0}, "the smallest integers"},
      {{most, least}, {small}, {633, 0}, "far right, far up"},
      {{5000, 5000}, {}, {5000, 5000}, "no screen known"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(place(c.stored.x(), c.stored.y(), c.screens), c.placed) << c.why;
  EXPECT_EQ(placeOnScreen(QPoint(-500, -500), QSize(900, 700), {small}), QPoint(0, 0)) << "larger than the screen";
}
