#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>

#include "app/settings_store.h"
#include "platform/ini_file.h"
#include "qt_printers.h"

// Each key with its value, for failure messages.
void PrintTo(const SettingsRecord& r, std::ostream* os) {
  for (const Setting& s : kSettings) {
    *os << s.key << '=';
    std::visit([&](auto field) { *os << QVariant::fromValue(r.*field).toString().toStdString(); }, s.field);
    *os << "; ";
  }
}

namespace {

// Every value away from both files' defaults, with a target its written form keeps.
SettingsRecord recordOfTheNight() {
  SettingsRecord r;
  r.FocName = QStringLiteral("Focuser Simulé");
  r.FocDriver = QStringLiteral("Sim.Focuser");
  r.xPasLent = 4;
  r.xPasRapide = 7;
  r.xTolerance = 6;
  r.xDelaiAutofocus = 9;
  r.xLimiteBasse = -120;
  r.xLimiteHaute = 41000;
  r.xPosition = 25000;
  r.xPositionMap = 24500;
  r.FormGauche = -8;
  r.FormHaut = 300;
  r.xMethode = 1;
  r.xCible = 1.25;
  r.xNbMesures = 5;
  r.xManuel = true;
  r.xTaille = 36;
  return r;
}

// Writes `r` into a new file with `write`, then reads that file over `into`
// with `read`; true when the read had nothing to tell.
template <class Write, class Read>
bool roundTrip(Write write, const SettingsRecord& r, Read read, SettingsRecord& into) {
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/settings.ini");
  IniFile out(path);
  write(out, r);
  out.UpdateFile();
  return !read(IniFile(path), into).has_value();
}

}  // namespace

TEST(SettingsTable, ARecordWrittenToTheSettingsFileWithoutAWindowReadsBackWhole) {
  SettingsRecord back;
  EXPECT_TRUE(roundTrip(writeSettings, recordOfTheNight(), readSettings, back));
  EXPECT_EQ(back, recordOfTheNight());
}

TEST(SettingsTable, AProfileLoadTakesBackAllButTheSizeTheManualTriggerAndTheWindowPlace) {
  SettingsRecord current;
  current.xTaille = 24;
  current.xManuel = false;
  current.FormGauche = 10;
  current.FormHaut = 20;
  current.xCible = 3.0;
  current.xTolerance = 1;
  SettingsRecord expected = recordOfTheNight();
  expected.xTaille = 24;
  expected.xManuel = false;
  expected.FormGauche = 10;
  expected.FormHaut = 20;
  EXPECT_TRUE(roundTrip(writeProfile, recordOfTheNight(), readProfile, current));
  EXPECT_EQ(current, expected);
}
