#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "faulty_folder.h"
#include "platform/ascom_platform.h"
#include "platform/clock.h"
#include "qt_printers.h"
#include "scripted_dialogs.h"
#include "manual_clock.h"
#include "platform/dialogs_qt.h"

namespace {

// Scripted dialogs that also keep the list the chooser was given.
struct ChooserDialogs : ScriptedDialogs {
  QList<DriverEntry> listed;
  QString ChooseDriver(const QList<DriverEntry>& drivers, const QString& current) override {
    listed = drivers;
    return ScriptedDialogs::ChooseDriver(drivers, current);
  }
};

class AscomPlatform : public ::testing::Test {
 protected:
  QString path() const { return dir.path() + QStringLiteral("/trevast/ascom.ini"); }
  void writeConfig(const QByteArray& text) {
    QDir().mkpath(dir.path() + QStringLiteral("/trevast"));
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  QTemporaryDir dir;
  ComRegistry com;
  ChooserDialogs dialogs;
  ManualClock clock;
};

TEST_F(AscomPlatform, WithNoFileAVersionSixPlatformCarriesTheSimulator) {
  InstallAscomPlatform(com, dialogs, clock, path());
  for (const char* id : {"ASCOM.Utilities.Util", "DriverHelper.Util", "DriverHelper.Profile", "DriverHelper.Chooser",
                         "FocusSim.Focuser"})
    EXPECT_TRUE(com.isRegistered(QString::fromLatin1(id))) << id;
  EXPECT_EQ(com.CreateOleObject(QStringLiteral("ASCOM.Utilities.Util")).get(QStringLiteral("PlatformVersion")),
            Variant("6.0"));
}

TEST_F(AscomPlatform, TheFileSetsThePlatformItsDriversAndTheSimulator) {
  writeConfig("[Platform]\r\nVersion=4.1\r\nFocusers=FCUSB.Focuser, FocusSim.Focuser,,Other.Focuser\r\n"
              "[FCUSB.Focuser]\r\nName=FCUSB USB\r\n"
              "[FocusSim.Focuser]\r\nAbsolute=0\r\nSpeed=abc\r\nMaxIncrement=300\r\nMaxStep=0\r\nStepSize=0\r\n"
              "Position=-40\r\n");
  const AscomConfig c = readAscomConfig(path());
  EXPECT_EQ(c.version, QStringLiteral("4.1"));
  QStringList names;
  for (const DriverEntry& d : c.focusers) names << d.progId + '=' + d.name;
  EXPECT_EQ(names, (QStringList{"FCUSB.Focuser=FCUSB USB", "FocusSim.Focuser=Simulateur de focuser",
                                "Other.Focuser=Other.Focuser"}));
  // Values the simulator cannot run with give way to its defaults, each named.
  FocusSimSettings expected;
  expected.absolute = false;
  expected.maxIncrement = 300;
  EXPECT_EQ(std::tuple(c.simulator.absolute, c.simulator.speed, c.simulator.maxIncrement, c.simulator.maxStep,
                       c.simulator.stepSize, c.simulator.startPosition),
            std::tuple(expected.absolute, expected.speed, expected.maxIncrement, expected.maxStep, expected.stepSize,
                       expected.startPosition));
  EXPECT_EQ(c.unusable, (QStringList{"Speed=abc inutilisable dans ascom.ini : 1000 utilisé.",
                                     "MaxStep=0 inutilisable dans ascom.ini : 50000 utilisé.",
                                     "StepSize=0 inutilisable dans ascom.ini : 5 utilisé.",
                                     "Position=-40 inutilisable dans ascom.ini : 25000 utilisé."}));
  // A start beyond a shorter travel: its middle.
  writeConfig("[FocusSim.Focuser]\r\nAbsolute=2\r\nMaxStep=10000\r\nPosition=20000\r\n");
  EXPECT_EQ(readAscomConfig(path()).simulator.startPosition, 5000);
  EXPECT_EQ(readAscomConfig(path()).unusable, (QStringList{"Absolute=2 inutilisable dans ascom.ini : 1 utilisé.",
                                                           "Position=20000 inutilisable dans ascom.ini : 5000 utilisé."}));

  writeConfig("[Platform]\nInstalled=0\n[FocusSim.Focuser]\nSpeed=0\n");
  EXPECT_TRUE(InstallAscomPlatform(com, dialogs, clock, path()).unusable.isEmpty());  // no simulator to run them
  EXPECT_THROW(com.CreateOleObject(QStringLiteral("ASCOM.Utilities.Util")), Exception);
  EXPECT_FALSE(com.isRegistered(kFocusSimId));
}

TEST_F(AscomPlatform, AFileThatCannotBeReadWholeGivesTheDefaultsAndIsNamedForTheStartsBox) {
  FaultyFolder disk;
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
  disk.put("ascom.ini", "[Platform]\r\nFocusers=FCUSB.Focuser\r\n[FocusSim.Focuser]\r\nSpeed=abc\r\n", 20);
  const AscomConfig config = readAscomConfig(disk.filePath("ascom.ini"));
  EXPECT_EQ(config.focusers.size(), 1);
  EXPECT_EQ(config.unusable, QStringList{QStringLiteral("Impossible de lire %1.").arg(disk.filePath("ascom.ini"))});
}

TEST_F(AscomPlatform, TheProfileAndChooserKnowTheInstalledFocusersAndTheBoxIsShown) {
  AscomConfig c;
  c.focusers.append({QStringLiteral("FCUSB.Focuser"), QStringLiteral("FCUSB")});
  InstallAscomPlatform(com, dialogs, clock, c, {});

  com.CreateOleObject(QStringLiteral("DriverHelper.Util"))
      .call(QStringLiteral("MessageBox"), {{QStringLiteral("Texte"), Passing::Reference}, {48}, {QStringLiteral("Titre")}});
  ASSERT_EQ(dialogs.shown.size(), 1);
  EXPECT_EQ(dialogs.shown[0].kind + dialogs.shown[0].text + dialogs.shown[0].caption,
            QStringLiteral("AscomMessageBoxTexteTitre"));
  EXPECT_EQ(dialogs.shown[0].iconFlag, 48);

  const AutomationRef profile = com.CreateOleObject(QStringLiteral("DriverHelper.Profile"));
  auto nameOf = [&](const char* id) {
    return profile.call(QStringLiteral("GetValue"), {{QString::fromLatin1(id), Passing::Reference}, {QString()}});
  };
  EXPECT_EQ(nameOf("fcusb.focuser"), Variant(""));  // no device type yet
  profile.put(QStringLiteral("DeviceType"), QStringLiteral("Focuser"));
  EXPECT_EQ(nameOf("fcusb.focuser"), Variant("FCUSB"));
  EXPECT_EQ(nameOf("Nothing.Focuser"), Variant(""));

  const AutomationRef chooser = com.CreateOleObject(QStringLiteral("DriverHelper.Chooser"));
  chooser.put(QStringLiteral("devicetype"), QStringLiteral("Focuser"));
  dialogs.choices = {QStringLiteral("FCUSB.Focuser")};
  EXPECT_EQ(chooser.call(QStringLiteral("Choose"), {{kFocusSimId, Passing::Reference}}), Variant("FCUSB.Focuser"));
  EXPECT_EQ(dialogs.texts(QStringLiteral("Chooser")), QStringList{kFocusSimId});
  EXPECT_EQ(dialogs.listed.size(), 2);
  EXPECT_THROW(com.CreateOleObject(QStringLiteral("FCUSB.Focuser")), Exception);  // listed, with no program behind it
}

TEST_F(AscomPlatform, TheChooserOpensOnTheCurrentDriverOrTheFirstAndOkTakesItWhateverHasTheFocus) {
  QtDialogs real;
  AscomConfig c;
  c.focusers.append({QStringLiteral("FCUSB.Focuser"), QStringLiteral("FCUSB")});
  InstallAscomPlatform(com, real, clock, c, {});
  // The names shown selected, then the identifier Choose returns.
  auto choose = [&](const QString& current, const QString& button) {
    QString seen;
    QTimer::singleShot(0, [&] {
      auto* dialog = QApplication::activeModalWidget();
      for (QListWidgetItem* item : dialog->findChild<QListWidget*>()->selectedItems()) seen += item->text() + ' ';
      for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->text() == button) QTest::mouseClick(b, Qt::LeftButton);
    });
    const AutomationRef chooser = com.CreateOleObject(QStringLiteral("DriverHelper.Chooser"));
    chooser.put(QStringLiteral("devicetype"), QStringLiteral("Focuser"));
    return seen + chooser.call(QStringLiteral("Choose"), {{current, Passing::Reference}}).toString();
  };
  EXPECT_EQ(choose(QString(), "OK"), QStringLiteral("Simulateur de focuser FocusSim.Focuser"));
  EXPECT_EQ(choose("fcusb.focuser", "OK"), QStringLiteral("FCUSB FCUSB.Focuser"));
  EXPECT_EQ(choose("FCUSB.Focuser", "Annuler"), QStringLiteral("FCUSB "));
}

TEST_F(AscomPlatform, TheChoosersOkIsUnavailableWhileNoDriverIsSelected) {
  QtDialogs real;
  InstallAscomPlatform(com, real, clock, AscomConfig{}, {});
  QStringList seen;
  QTimer::singleShot(0, [&] {
    auto* list = QApplication::activeModalWidget()->findChild<QListWidget*>();
    QAbstractButton* ok = QApplication::activeModalWidget()->findChild<QDialogButtonBox*>()->buttons().first();
    // A click below the only item selects none: OK cannot end the chooser then.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 5));
    QTest::mouseClick(ok, Qt::LeftButton);
    seen << ok->text() + (ok->isEnabled() ? " on" : " off") << (list->isVisible() ? "open" : "closed");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  const AutomationRef chooser = com.CreateOleObject(QStringLiteral("DriverHelper.Chooser"));
  chooser.put(QStringLiteral("devicetype"), QStringLiteral("Focuser"));
  seen << chooser.call(QStringLiteral("Choose"), {{QString(), Passing::Reference}}).toString();
  EXPECT_EQ(seen, (QStringList{"OK off", "open", kFocusSimId}));
}

TEST_F(AscomPlatform, TheSimulatorsSetupWindowKeepsWhatItChangesInTheFile) {
  writeConfig("[Platform]\r\nVersion=7.0\r\n");
  InstallAscomPlatform(com, dialogs, clock, path());
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QSpinBox*>(QStringLiteral("speed"))->setValue(250);
    dialog->accept();
  });
  const AutomationRef sim = com.CreateOleObject(kFocusSimId);
  sim.call(QStringLiteral("SetupDialog"));
  EXPECT_EQ(readAscomConfig(path()).simulator.speed, 250);
  EXPECT_EQ(readAscomConfig(path()).version, QStringLiteral("7.0"));

  sim.put(QStringLiteral("Link"), true);  // the new speed drives the motor at once
  sim.call(QStringLiteral("Move"), {{26000, Passing::VariantValue}});
  clock.advance(1000);
  EXPECT_EQ(sim.get(QStringLiteral("Position")), Variant(25250));
}

}  // namespace

// The README's example of ascom.ini, copied as a user would copy it, gives
// the platform and the simulator every value the example shows.
TEST_F(AscomPlatform, TheReadmeExampleReadsAsItsLinesSay) {
  QFile readme(QStringLiteral(TREVAST_README));
  ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(readme.readAll());
  const qsizetype start = text.indexOf(QStringLiteral("```ini\n"), text.indexOf(QStringLiteral("ascom.ini")));
  ASSERT_GE(start, 0);
  const qsizetype end = text.indexOf(QStringLiteral("```"), start + 7);
  QByteArray example;
  QMap<QString, QString> shown;  // "section/key" -> the whole text after '='
  QString section;
  for (QString line : text.mid(start + 7, end - start - 7).split(QLatin1Char('\n'))) {
    line = line.trimmed();
    example += line.toUtf8() + "\r\n";
    if (line.startsWith(QLatin1Char('['))) section = line.mid(1, line.indexOf(QLatin1Char(']')) - 1);
    else if (line.contains(QLatin1Char('=')) && !line.startsWith(QLatin1Char(';')))
      shown[section + '/' + line.section(QLatin1Char('='), 0, 0)] = line.section(QLatin1Char('='), 1);
  }
  writeConfig(example);

  const AscomConfig c = readAscomConfig(path());
  const FocusSimSettings& s = c.simulator;
  const QString sim = kFocusSimId + '/';
  EXPECT_EQ(shown.value("Platform/Installed"), c.installed ? "1" : "0");
  EXPECT_EQ(shown.value("Platform/Version"), c.version);
  ASSERT_EQ(c.focusers.size(), 1);
  EXPECT_EQ(shown.value("Platform/Focusers"), c.focusers[0].progId);
  EXPECT_EQ(shown.value(sim + "Name"), c.focusers[0].name);
  const QMap<QString, int> read = {{"Absolute", s.absolute},        {"Speed", s.speed},       {"MaxIncrement", s.maxIncrement},
                                   {"MaxStep", s.maxStep},          {"StepSize", s.stepSize}, {"Position", s.startPosition}};
  for (auto [key, value] : read.asKeyValueRange()) EXPECT_EQ(shown.value(sim + key), QString::number(value)) << key.toStdString();
  EXPECT_EQ(shown.size(), 4 + read.size());
  EXPECT_TRUE(c.unusable.isEmpty());
}
