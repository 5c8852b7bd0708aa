#include <QComboBox>
#include <QDir>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/ascom_platform.h"
#include "platform/controls_dialog.h"
#include "platform/number_format.h"
#include "faulty_folder.h"
#include "settings_fixture.h"

namespace {

// Runs `writes` in a child process that can write no file beyond `limit`
// bytes, as on a disk that fills up (a write past it fails, its signal
// ignored), and returns the texts it gave back.
QStringList onAFullDisk(rlim_t limit, const std::function<QStringList()>& writes) {
  int channel[2];
  if (::pipe(channel) != 0) return {QStringLiteral("no pipe")};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit fileSize{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &fileSize);
    const QByteArray said = writes().join(QLatin1Char('\n')).toUtf8();
    _exit(::write(channel[1], said.constData(), said.size()) == said.size() ? 0 : 1);
  }
  ::close(channel[1]);
  QByteArray said;
  char buffer[4096];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
  ::close(channel[0]);
  ::waitpid(child, nullptr, 0);
  return QString::fromUtf8(said).split(QLatin1Char('\n'));
}

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
  QStringList errors() const { return p.dialogs.texts(QStringLiteral("ErrorBox")); }
};

}  // namespace

TEST_F(Profiles, SaveWritesTheSeventeenKeysInTheProfileOrderInWindows1252) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  save(path("soir.trv"));
  EXPECT_EQ(read(path("soir.trv")),
            QByteArray("[Focuser]\r\nName=Focuser Simul\xE9\r\nDriver=Sim.Focuser\r\nPosition=1234\r\n"
                       "Position MAP=1500\r\nLimite basse=-20\r\nLimite haute=30000\r\n"
                       "[Autofocus]\r\nTolerance=4\r\nLowSpeed=3\r\nHighSpeed=8\r\nM\xE9thode=1\r\nMesures=5\r\n"
                       "Taille=26\r\nDelai suivi=7\r\nFWHM cible=1,46\r\nManuel=1\r\n"
                       "[Programme]\r\nGauche=40\r\nHaut=60\r\n"));
}

TEST_F(Profiles, FileDialogsAskAsTheirKindAndTheSaveOpensInTheProgramFolderAfterASave) {
  p.dialogs.choices << QString();  // a cancelled save writes nothing and sets no folder
  form3->BitBtn4->click();
  save(path("a.trv"));
  form3->BitBtn4->click();
  load(path("a.trv"));
  ASSERT_EQ(p.dialogs.shown.size(), 4);
  const FileDialogRequest& save1 = p.dialogs.shown[0].request;
  EXPECT_EQ(save1.title, QStringLiteral("Sauvegarde des paramètres"));
  EXPECT_EQ(save1.filter, QStringLiteral("Fichiers Trevast (*.trv)|*.trv"));
  EXPECT_EQ(save1.defaultExt, QStringLiteral("trv"));
  EXPECT_TRUE(save1.overwritePrompt && save1.initialDir.isEmpty());
  EXPECT_TRUE(p.dialogs.shown[1].request.initialDir.isEmpty());
  EXPECT_EQ(p.dialogs.shown[2].request.initialDir, p.services->programFolder);
  EXPECT_EQ(p.dialogs.shown[2].request.fileName, path("a.trv"));
  EXPECT_TRUE(p.dialogs.shown[3].request.title.isEmpty() && p.dialogs.shown[3].request.initialDir.isEmpty());
  EXPECT_EQ(QDir(p.folder.path()).entryList(QDir::Files), QStringList{"a.trv"});
}

TEST_F(Profiles, SavingOverAProfileKeepsWhatASaveDoesNotWriteAndARefusedWriteIsReported) {
  write(path("old.trv"), "; mon profil\r\n[Focuser]\r\nDriver=Old\r\nCouleur=rouge\r\n[Notes]\r\nNuit=calme\r\n");
  save(path("old.trv"));
  const QByteArray bytes = read(path("old.trv"));
  EXPECT_TRUE(bytes.startsWith("; mon profil\r\n[Focuser]\r\nDriver=Sim.Focuser\r\nCouleur=rouge\r\n"));
  EXPECT_TRUE(bytes.contains("[Notes]\r\nNuit=calme\r\n"));

  save(path("absent/soir.trv"));
  EXPECT_EQ(errors(), QStringList{QStringLiteral("Impossible d'écrire dans %1.").arg(path("absent/soir.trv"))});
  EXPECT_TRUE(form3->isVisible());
}

TEST_F(Profiles, AProfileThatCannotBeReadOrDoesNotExistLoadsNothingAndIsTold) {
  ASSERT_TRUE(QDir().mkdir(path("dossier.trv")));
  form->xTolerance = 1;
  for (const char* name : {"dossier.trv", "nexistepas"}) {
    p.dialogs.shown.clear();
    load(path(name));
    EXPECT_EQ(errors(), QStringList{QStringLiteral("Impossible de lire %1.").arg(path(name))});
    EXPECT_EQ(std::tuple(form->xTolerance, form->xLimiteHaute, form->FocDriver),
              std::tuple(1, 30000, QStringLiteral("Sim.Focuser")))
        << name;
  }
}

TEST_F(Profiles, LoadRestoresWhatItReadsAndLeavesSizeManualTriggerAndWindowPlace) {
  save(path("soir.trv"));
  write(path("soir.trv"), read(path("soir.trv")).replace("Taille=26", "Taille=38").replace("Manuel=1", "Manuel=0"));
  TForm1& f = *form;
  f.FocDriver.clear();
  f.xPosition = f.xPositionMap = f.xLimiteBasse = f.xTolerance = f.xPasLent = f.xPasRapide = f.xMethode = 0;
  f.xNbMesures = 1;
  f.xDelaiAutofocus = 0;
  f.xCible = 0;
  f.move(90, 90);
  load(path("soir.trv"));
  EXPECT_EQ(f.FocDriver, "Sim.Focuser");
  EXPECT_EQ(std::tuple(f.xPosition, f.xPositionMap, f.xLimiteBasse, f.xLimiteHaute), std::tuple(1234, 1500, -20, 30000));
  EXPECT_EQ(std::tuple(f.xTolerance, f.xPasLent, f.xPasRapide, f.xMethode, f.xNbMesures, f.xDelaiAutofocus),
            std::tuple(4, 3, 8, 1, 5, 7));
  EXPECT_DOUBLE_EQ(f.xCible, 1.46);
  EXPECT_EQ(std::tuple(f.xTaille, f.xManuel, f.pos()), std::tuple(26, true, QPoint(90, 90)));
  EXPECT_EQ(form3->PasLent->text() + " " + form3->LimiteHaute->text(), "3 30000");
  EXPECT_TRUE(errors().isEmpty());
}

TEST_F(Profiles, ProfileSavedUnderACommaLocaleLoadsUnderAPointLocale) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  save(path("soir.trv"));
  numfmt::SetDecimalSeparator(QLatin1Char('.'));
  form->xCible = 9.0;
  load(path("soir.trv"));
  EXPECT_DOUBLE_EQ(form->xCible, 1.46);
  EXPECT_EQ(form3->MaskEdit1->text(), "1.46");
  EXPECT_TRUE(errors().isEmpty());
}

TEST_F(Profiles, UnreadableTargetIsReportedOnceAndEverythingElseIsLoadedWithTheLoadsDefaults) {
  write(path("abime.trv"),
        "[Focuser]\r\nLimite basse=250\r\n[Autofocus]\r\nFWHM cible=un virgule deux\r\nMesures=40\r\nM\xE9thode=7\r\n");
  form->xCible = 1.75;
  load(path("abime.trv"));
  EXPECT_EQ(errors(), QStringList{QStringLiteral("'un virgule deux' n'est pas une valeur en virgule flottante correcte.")});
  EXPECT_DOUBLE_EQ(form->xCible, 1.75);
  EXPECT_EQ(form3->LimiteBasse->text(), "250");
  EXPECT_EQ(std::tuple(form->xPasRapide, form->xTolerance, form->xNbMesures), std::tuple(10, 5, 10));
  EXPECT_EQ(form->MemoLog->Lines().mid(form->MemoLog->Lines().size() - 2),
            QStringList({"Méthode inconnue dans abime.trv : 0 utilisé.",
                         "Mesures trop grandes dans abime.trv : 10 utilisé."}));
  EXPECT_EQ(form3->ComboBox1->currentText(), QStringLiteral("Approches successives"));
}

TEST_F(Profiles, OnAFullDiskTheProfileTheSettingsAndTheSimulatorsFileKeepTheirOldTextAndTheUserIsTold) {
  const QByteArray old = "[Focuser]\r\nDriver=Ancien\r\n";
  const QString ascom = path("ascom.ini");
  for (const QString& file : {path("soir.trv"), p.iniPath(), ascom}) write(file, old);
  // Room for more than the old texts, not for any of the new ones.
  const QStringList said = onAFullDisk(64, [&] {
    save(path("soir.trv"));
    form->close();
    QStringList texts = errors();
    try {
      writeFocusSimSettings(ascom, FocusSimSettings());
    } catch (const Exception& e) {
      texts << e.message();
    }
    return texts;
  });
  const QString refused = QStringLiteral("Impossible d'écrire dans %1");
  EXPECT_EQ(said, (QStringList{refused.arg(path("soir.trv")) + '.', refused.arg(p.iniPath()) + '.', refused.arg(ascom)}));
  for (const QString& file : {path("soir.trv"), p.iniPath(), ascom}) EXPECT_EQ(read(file), old) << file.toStdString();
  EXPECT_EQ(QDir(p.folder.path()).entryList(QDir::Files), (QStringList{"ascom.ini", "soir.trv", "trevast.ini"}));
}

TEST_F(Profiles, UnderReadsThatFailNothingIsLoadedAndTheProfileTheSettingsAndTheSimulatorsFileAreKept) {
  FaultyFolder disk;
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
  const auto big = [](QByteArray bytes) {
    while (bytes.size() < 20 * 1024) bytes += "; nuit calme\r\n";
    return bytes;
  };
  const QByteArray profile = big("; mon profil\r\n[Focuser]\r\nDriver=Ancien\r\nLimite haute=12000\r\n");
  const QByteArray settings = big("[Focuser]\r\nDriver=Ancien\r\n");
  const QByteArray ascom = big("; mes pilotes\r\n[Platform]\r\nFocusers=FocusSim.Focuser,Autre.Focuser\r\n");
  // Reads that fail after the first 8 KB, or at the first byte.
  disk.put("soir.trv", profile, 8 * 1024);
  disk.put("trevast.ini", settings, 0);
  disk.put("ascom.ini", ascom, 8 * 1024);
  const QString soir = disk.filePath("soir.trv"), ascomPath = disk.filePath("ascom.ini");
  p.services->programFolder = disk.path() + QLatin1Char('/');

  load(soir);
  EXPECT_EQ(std::tuple(form->FocDriver, form->xLimiteHaute), std::tuple(QStringLiteral("Sim.Focuser"), 30000))
      << "nothing is loaded";
  save(soir);
  form->close();
  QStringList said = errors();
  try {
    writeFocusSimSettings(ascomPath, FocusSimSettings());
  } catch (const Exception& e) {
    said << e.message();
  }
  const QString refused = QStringLiteral("Impossible d'écrire dans %1");
  EXPECT_EQ(said, (QStringList{QStringLiteral("Impossible de lire %1.").arg(soir), refused.arg(soir) + '.',
                               refused.arg(disk.filePath("trevast.ini")) + '.', refused.arg(ascomPath)}));
  EXPECT_TRUE(disk.bytes("soir.trv") == profile);
  EXPECT_TRUE(disk.bytes("trevast.ini") == settings);
  EXPECT_TRUE(disk.bytes("ascom.ini") == ascom);
  EXPECT_EQ(disk.names(), (QStringList{"ascom.ini", "soir.trv", "trevast.ini"}));
}
