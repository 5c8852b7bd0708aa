#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "platform/controls_dialog.h"
#include "platform/number_format.h"
#include "settings_fixture.h"

namespace {

struct Profiles : ::testing::Test, SettingsFixture {
  Profiles() {
    TForm1& f = *form;
    f.FocName = QStringLiteral("Focuser Simulé");
    f.FocDriver = QStringLiteral("Sim.Focuser");
    f.xPosition = 1234;
    f.xPositionMap = 1500;
    f.xLimiteBasse = -20;
    f.xLimiteHaute = 30000;
    f.xTolerance = 4;
    f.xPasLent = 3;
    f.xPasRapide = 8;
    f.xMethode = 1;
    f.xNbMesures = 5;
    f.xTaille = 26;
    f.xDelaiAutofocus = 7;
    f.xCible = 1.456;
    f.xManuel = true;
    f.move(40, 60);
    open();
  }
  ~Profiles() override { numfmt::SetDecimalSeparator(QLatin1Char('.')); }

  QString path(const char* name) const { return p.folder.path() + QLatin1Char('/') + QLatin1String(name); }
  void save(const QString& to) {
    p.dialogs.choices << to;
    form3->BitBtn4->click();
  }
  void load(const QString& from) {
    p.dialogs.choices << from;
    form3->BitBtn5->click();
  }
  static void write(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  static QByteArray read(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

const QByteArray kSavedUnderComma =
    "[Focuser]\r\n"
    "Name=Focuser Simul\xE9\r\n"
    "Driver=Sim.Focuser\r\n"
    "Position=1234\r\n"
    "Position MAP=1500\r\n"
    "Limite basse=-20\r\n"
    "Limite haute=30000\r\n"
    "[Autofocus]\r\n"
    "Tolerance=4\r\n"
    "LowSpeed=3\r\n"
    "HighSpeed=8\r\n"
    "M\xE9thode=1\r\n"
    "Mesures=5\r\n"
    "Taille=26\r\n"
    "Delai suivi=7\r\n"
    "FWHM cible=1,46\r\n"
    "Manuel=1\r\n"
    "[Programme]\r\n"
    "Gauche=40\r\n"
    "Haut=60\r\n";

}  // namespace

TEST_F(Profiles, SaveWritesTheSeventeenKeysInTheProfileOrderInWindows1252) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  save(path("soir.trv"));
  EXPECT_EQ(read(path("soir.trv")), kSavedUnderComma);
}

TEST_F(Profiles, SaveDialogAsksWithItsTitleFilterAndExtensionAndOpensInTheProgramFolderAfterASave) {
  p.dialogs.choices << QString();  // cancelled: nothing written, no folder set
  form3->BitBtn4->click();
  save(path("a.trv"));
  form3->BitBtn4->click();
  ASSERT_EQ(p.dialogs.shown.size(), 3);
  const FileDialogRequest& first = p.dialogs.shown[0].request;
  EXPECT_EQ(first.title, QStringLiteral("Sauvegarde des paramètres"));
  EXPECT_EQ(first.filter, QStringLiteral("Fichiers Trevast (*.trv)|*.trv"));
  EXPECT_EQ(first.defaultExt, QStringLiteral("trv"));
  EXPECT_TRUE(first.overwritePrompt);
  EXPECT_TRUE(first.initialDir.isEmpty());
  EXPECT_TRUE(p.dialogs.shown[1].request.initialDir.isEmpty());
  EXPECT_EQ(p.dialogs.shown[2].request.initialDir, p.services->programFolder);
  EXPECT_EQ(p.dialogs.shown[2].request.fileName, path("a.trv"));
  EXPECT_EQ(QDir(p.folder.path()).entryList(QDir::Files), QStringList{"a.trv"});
}

TEST_F(Profiles, SavingOverAProfileReplacesItsValuesAndKeepsWhatASaveDoesNotWrite) {
  write(path("old.trv"),
        "; mon profil\r\n[Focuser]\r\nDriver=Old\r\nCouleur=rouge\r\n[Notes]\r\nNuit=calme\r\n");
  save(path("old.trv"));
  const QByteArray bytes = read(path("old.trv"));
  EXPECT_TRUE(bytes.startsWith("; mon profil\r\n[Focuser]\r\nDriver=Sim.Focuser\r\nCouleur=rouge\r\n"));
  EXPECT_TRUE(bytes.contains("[Notes]\r\nNuit=calme\r\n"));
  EXPECT_TRUE(bytes.contains("Name=Focuser Simul\xE9\r\n"));
}

TEST_F(Profiles, RefusedWriteIsReportedWithThePathAndTheDialogStaysOpen) {
  const QString target = path("absent/soir.trv");
  save(target);
  EXPECT_EQ(p.dialogs.texts("ErrorBox"), QStringList{QStringLiteral("Impossible d'écrire dans %1.").arg(target)});
  EXPECT_TRUE(form3->isVisible());
  EXPECT_EQ(form3->SaveDialog1.initialDir, p.services->programFolder);
}

TEST_F(Profiles, LoadRestoresWhatItReadsAndLeavesSizeManualTriggerAndWindowPlace) {
  save(path("soir.trv"));
  TForm1& f = *form;
  f.FocName.clear();
  f.FocDriver.clear();
  f.xPosition = f.xPositionMap = f.xLimiteBasse = 0;
  f.xLimiteHaute = 99999;
  f.xTolerance = f.xPasLent = f.xPasRapide = f.xMethode = 0;
  f.xNbMesures = 1;
  f.xDelaiAutofocus = 0;
  f.xCible = 0;
  write(path("soir.trv"), read(path("soir.trv")).replace("Taille=26", "Taille=38").replace("Manuel=1", "Manuel=0")
                              .replace("Gauche=40", "Gauche=300"));
  f.xTaille = 22;

  load(path("soir.trv"));
  EXPECT_EQ(f.FocName, QStringLiteral("Focuser Simulé"));
  EXPECT_EQ(f.FocDriver, "Sim.Focuser");
  EXPECT_EQ(f.xPosition, 1234);
  EXPECT_EQ(f.xPositionMap, 1500);
  EXPECT_EQ(f.xLimiteBasse, -20);
  EXPECT_EQ(f.xLimiteHaute, 30000);
  EXPECT_EQ(f.xTolerance, 4);
  EXPECT_EQ(f.xPasLent, 3);
  EXPECT_EQ(f.xPasRapide, 8);
  EXPECT_EQ(f.xMethode, 1);
  EXPECT_EQ(f.xNbMesures, 5);
  EXPECT_EQ(f.xDelaiAutofocus, 7);
  EXPECT_DOUBLE_EQ(f.xCible, 1.46);
  EXPECT_EQ(f.xTaille, 22);
  EXPECT_TRUE(f.xManuel);
  EXPECT_EQ(f.pos(), QPoint(40, 60));
  // The dialog shows what was loaded.
  EXPECT_EQ(form3->PasLent->text(), "3");
  EXPECT_EQ(form3->LimiteHaute->text(), "30000");
  EXPECT_EQ(form3->MaskEdit1->text(), "1.46");
  EXPECT_TRUE(p.dialogs.texts("ErrorBox").isEmpty());
}

TEST_F(Profiles, LoadDefaultsForFastSpeedAndToleranceAreTenAndFive) {
  write(path("bref.trv"), "[Autofocus]\r\nLowSpeed=4\r\n");
  load(path("bref.trv"));
  EXPECT_EQ(form->xPasRapide, 10);
  EXPECT_EQ(form->xTolerance, 5);
  EXPECT_EQ(form->xPasLent, 4);
  EXPECT_EQ(form->xLimiteHaute, 99999);
  EXPECT_DOUBLE_EQ(form->xCible, 0.0);
}

TEST_F(Profiles, MissingFileLoadsEveryDefaultWithoutAMessage) {
  load(path("nulle-part.trv"));
  EXPECT_TRUE(form->FocDriver.isEmpty());
  EXPECT_EQ(form->xNbMesures, 2);
  EXPECT_EQ(form->xDelaiAutofocus, 3);
  EXPECT_TRUE(p.dialogs.texts("ErrorBox").isEmpty());
  EXPECT_EQ(form3->OpenDialog1.fileName, path("nulle-part.trv"));
}

TEST_F(Profiles, ProfileSavedUnderACommaLocaleLoadsUnderAPointLocale) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  save(path("soir.trv"));
  numfmt::SetDecimalSeparator(QLatin1Char('.'));
  form->xCible = 9.0;
  load(path("soir.trv"));
  EXPECT_DOUBLE_EQ(form->xCible, 1.46);
  EXPECT_EQ(form3->MaskEdit1->text(), "1.46");
  EXPECT_TRUE(p.dialogs.texts("ErrorBox").isEmpty());
}

TEST_F(Profiles, UnreadableTargetIsReportedOnceAndEverythingElseIsLoadedAndShown) {
  write(path("abime.trv"), "[Focuser]\r\nLimite basse=250\r\n[Autofocus]\r\nLowSpeed=6\r\nFWHM cible=un virgule deux\r\n");
  form->xCible = 1.75;
  load(path("abime.trv"));
  EXPECT_EQ(p.dialogs.texts("ErrorBox"),
            QStringList{QStringLiteral("'un virgule deux' n'est pas une valeur en virgule flottante correcte.")});
  EXPECT_DOUBLE_EQ(form->xCible, 1.75);
  EXPECT_EQ(form->xLimiteBasse, 250);
  EXPECT_EQ(form->xPasLent, 6);
  EXPECT_EQ(form3->PasLent->text(), "6");
  EXPECT_EQ(form3->LimiteBasse->text(), "250");
}

TEST_F(Profiles, MeasuresAboveTwentyAreBroughtToTwentyWithALogLine) {
  write(path("trop.trv"), "[Autofocus]\r\nMesures=40\r\n");
  load(path("trop.trv"));
  EXPECT_EQ(form->xNbMesures, 20);
  EXPECT_EQ(form->MemoLog->Lines().last(), QStringLiteral("Mesures trop grand dans le profil : 20 utilisé."));
}

TEST_F(Profiles, OpenDialogHasNoTitleNorFolderOfItsOwnAndProposesTheLastFile) {
  load(path("un.trv"));
  load(path("deux.trv"));
  ASSERT_EQ(p.dialogs.shown.size(), 2);
  const FileDialogRequest& second = p.dialogs.shown[1].request;
  EXPECT_TRUE(second.title.isEmpty());
  EXPECT_TRUE(second.initialDir.isEmpty());
  EXPECT_FALSE(second.overwritePrompt);
  EXPECT_EQ(second.filter, QStringLiteral("Fichiers Trevast (*.trv)|*.trv"));
  EXPECT_EQ(second.defaultExt, QStringLiteral("trv"));
  EXPECT_EQ(second.fileName, path("un.trv"));
}

TEST_F(Profiles, SlowSpeedChangedInTheOpenDialogReachesAProfileOnlyAfterOk) {
  form3->hide();
  runSetup([this](TForm3& d) {
    d.PasLent->setText("9");
    save(path("avant.trv"));
  }, true);
  EXPECT_TRUE(read(path("avant.trv")).contains("LowSpeed=3\r\n"));
  runSetup([this](TForm3&) { save(path("apres.trv")); }, false);
  EXPECT_TRUE(read(path("apres.trv")).contains("LowSpeed=9\r\n"));
}

TEST_F(Profiles, LoadedValuesSurviveCancelAndShowAtTheNextOpening) {
  write(path("nuit.trv"), "[Focuser]\r\nDriver=Autre.Focuser\r\nLimite haute=8000\r\n[Autofocus]\r\nLowSpeed=5\r\n");
  form3->hide();
  runSetup([this](TForm3&) { load(path("nuit.trv")); }, false);
  EXPECT_EQ(form->FocDriver, "Autre.Focuser");
  EXPECT_EQ(form->xPasLent, 5);
  runSetup([](TForm3& d) {
    EXPECT_EQ(d.PasLent->text(), "5");
    EXPECT_EQ(d.LimiteHaute->text(), "8000");
  }, false);
}
