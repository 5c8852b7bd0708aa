#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/ascom_platform.h"
#include "platform/clock.h"

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
  void install(const AscomConfig& config = {}) { InstallAscomPlatform(com, dialogs, clock, config, {}); }

  QTemporaryDir dir;
  ComRegistry com;
  ChooserDialogs dialogs;
  ManualClock clock;
};

TEST_F(AscomPlatform, WithNoFileAVersionSixPlatformCarriesTheSimulator) {
  const AscomConfig c = readAscomConfig(path());
  EXPECT_TRUE(c.installed);
  EXPECT_EQ(c.version, QStringLiteral("6.0"));
  ASSERT_EQ(c.focusers.size(), 1);
  EXPECT_EQ(c.focusers[0].progId, QStringLiteral("FocusSim.Focuser"));
  EXPECT_EQ(c.focusers[0].name, QStringLiteral("Simulateur de focuser"));
  EXPECT_EQ(c.simulator.speed, FocusSimSettings().speed);
  install(c);
  for (const char* id : {"ASCOM.Utilities.Util", "DriverHelper.Util", "DriverHelper.Profile", "DriverHelper.Chooser",
                         "FocusSim.Focuser"})
    EXPECT_TRUE(com.isRegistered(QString::fromLatin1(id))) << id;
}

TEST_F(AscomPlatform, TheFileSetsThePlatformItsDriversAndTheSimulator) {
  writeConfig(
      "[Platform]\r\nVersion=4.1\r\nFocusers=FCUSB.Focuser, FocusSim.Focuser,,Other.Focuser\r\n"
      "[FCUSB.Focuser]\r\nName=FCUSB USB\r\n"
      "[FocusSim.Focuser]\r\nAbsolute=0\r\nSpeed=abc\r\nMaxIncrement=300\r\nStepSize=2\r\nPosition=-40\r\n");
  const AscomConfig c = readAscomConfig(path());
  EXPECT_TRUE(c.installed);
  EXPECT_EQ(c.version, QStringLiteral("4.1"));
  ASSERT_EQ(c.focusers.size(), 3);
  EXPECT_EQ(c.focusers[0].name, QStringLiteral("FCUSB USB"));
  EXPECT_EQ(c.focusers[1].name, QStringLiteral("Simulateur de focuser"));
  EXPECT_EQ(c.focusers[2].name, QStringLiteral("Other.Focuser"));
  EXPECT_FALSE(c.simulator.absolute);
  EXPECT_EQ(c.simulator.speed, FocusSimSettings().speed);  // not a number: the default
  EXPECT_EQ(c.simulator.maxIncrement, 300);
  EXPECT_EQ(c.simulator.stepSize, 2);
  EXPECT_EQ(c.simulator.startPosition, 0);  // held within the travel
}

TEST_F(AscomPlatform, AMissingPlatformRegistersNothing) {
  writeConfig("[Platform]\nInstalled=0\n");
  install(readAscomConfig(path()));
  EXPECT_THROW(com.CreateOleObject(QStringLiteral("ASCOM.Utilities.Util")), Exception);
  EXPECT_FALSE(com.isRegistered(kFocusSimId));
}

TEST_F(AscomPlatform, AnEmptyDriverListInstallsNoSimulator) {
  writeConfig("[Platform]\nFocusers=\n");
  const AscomConfig c = readAscomConfig(path());
  EXPECT_TRUE(c.focusers.isEmpty());
  install(c);
  EXPECT_TRUE(com.isRegistered(QStringLiteral("DriverHelper.Chooser")));
  EXPECT_FALSE(com.isRegistered(kFocusSimId));
}

TEST_F(AscomPlatform, ThePlatformObjectsAnswerAsTheProgramExpects) {
  AscomConfig c;
  c.version = QStringLiteral("6.5.1");
  c.focusers.append({QStringLiteral("FCUSB.Focuser"), QStringLiteral("FCUSB")});
  install(c);

  EXPECT_EQ(com.CreateOleObject(QStringLiteral("ASCOM.Utilities.Util")).get(QStringLiteral("PlatformVersion")),
            Variant("6.5.1"));

  com.CreateOleObject(QStringLiteral("DriverHelper.Util"))
      .call(QStringLiteral("MessageBox"), {{QStringLiteral("Texte"), Passing::Reference},
                                            {48, Passing::Value},
                                            {QStringLiteral("Titre"), Passing::Value}});
  ASSERT_EQ(dialogs.shown.size(), 1);
  EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("AscomMessageBox"));
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Texte"));
  EXPECT_EQ(dialogs.shown[0].iconFlag, 48);
  EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("Titre"));

  const AutomationRef profile = com.CreateOleObject(QStringLiteral("DriverHelper.Profile"));
  auto nameOf = [&](const char* id) {
    return profile.call(QStringLiteral("GetValue"), {{QString::fromLatin1(id), Passing::Reference}, {QString()}})
        .toString();
  };
  EXPECT_EQ(nameOf("fcusb.focuser"), QString());  // no device type yet
  profile.put(QStringLiteral("DeviceType"), QStringLiteral("Focuser"));
  EXPECT_EQ(nameOf("fcusb.focuser"), QStringLiteral("FCUSB"));
  EXPECT_EQ(nameOf("Nothing.Focuser"), QString());

  const AutomationRef chooser = com.CreateOleObject(QStringLiteral("DriverHelper.Chooser"));
  chooser.put(QStringLiteral("devicetype"), QStringLiteral("Focuser"));
  dialogs.choices = {QStringLiteral("FCUSB.Focuser")};
  EXPECT_EQ(chooser.call(QStringLiteral("Choose"), {{kFocusSimId, Passing::Reference}}), Variant("FCUSB.Focuser"));
  EXPECT_EQ(dialogs.texts(QStringLiteral("Chooser")), QStringList{kFocusSimId});
  ASSERT_EQ(dialogs.listed.size(), 2);
  EXPECT_EQ(dialogs.listed[1].progId, QStringLiteral("FCUSB.Focuser"));
  EXPECT_EQ(chooser.call(QStringLiteral("Choose"), {{QString(), Passing::Reference}}), Variant(""));  // cancelled

  // Listed, but with no program behind it.
  EXPECT_THROW(com.CreateOleObject(QStringLiteral("FCUSB.Focuser")), Exception);
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
  const AscomConfig c = readAscomConfig(path());
  EXPECT_EQ(c.simulator.speed, 250);
  EXPECT_EQ(c.version, QStringLiteral("7.0"));

  // The new speed drives the motor at once.
  sim.put(QStringLiteral("Link"), true);
  const int start = sim.get(QStringLiteral("Position")).toInt();
  sim.call(QStringLiteral("Move"), {{start + 1000, Passing::VariantValue}});
  clock.advance(1000);
  EXPECT_EQ(sim.get(QStringLiteral("Position")).toInt(), start + 250);
}

}  // namespace
