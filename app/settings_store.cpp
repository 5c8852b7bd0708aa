#include "app/settings_store.h"

#include "measure/fwhm.h"
#include "platform/ini_file.h"
#include "platform/number_format.h"

QString formatCible(double cible) { return numfmt::Fixed3(cible, 2); }

namespace {

// The keys both files are read by, in their order, up to "Delai suivi".
void readCommonKeys(const IniFile& f, StoredSettings& s) {
  s.driver = f.ReadString(keys::Focuser, keys::Driver, QString());
  s.name = f.ReadString(keys::Focuser, keys::Name, QString());
  s.position = f.ReadInteger(keys::Focuser, keys::Position, s.position);
  s.positionMap = f.ReadInteger(keys::Focuser, keys::PositionMap, s.positionMap);
  s.limiteBasse = f.ReadInteger(keys::Focuser, keys::LimiteBasse, s.limiteBasse);
  s.limiteHaute = f.ReadInteger(keys::Focuser, keys::LimiteHaute, s.limiteHaute);
  s.lowSpeed = f.ReadInteger(keys::Autofocus, keys::LowSpeed, s.lowSpeed);
  s.highSpeed = f.ReadInteger(keys::Autofocus, keys::HighSpeed, s.highSpeed);
  s.tolerance = f.ReadInteger(keys::Autofocus, keys::Tolerance, s.tolerance);
  s.methode = f.ReadInteger(keys::Autofocus, keys::Methode, s.methode);
  s.mesures = f.ReadInteger(keys::Autofocus, keys::Mesures, s.mesures);
  s.delaiSuivi = f.ReadInteger(keys::Autofocus, keys::DelaiSuivi, s.delaiSuivi);
}

// "FWHM cible" in either decimal notation; other text leaves the default 0 and
// its text in `badCible`.
void readCible(const IniFile& f, StoredSettings& s, bool& cibleUnreadable, QString& badCible) {
  const QString cible = f.ReadString(keys::Autofocus, keys::FwhmCible, QStringLiteral("0"));
  cibleUnreadable = !numfmt::TryStrToStoredFloat(cible, s.cible);
  if (cibleUnreadable) {
    s.cible = 0.0;
    badCible = cible;
  }
}

// The seventeen keys; a profile has "FWHM cible" before "Manuel", the
// settings file after it.
void writeAllKeys(IniFile& f, const StoredSettings& s, bool cibleBeforeManuel) {
  f.WriteString(keys::Focuser, keys::Name, s.name);
  f.WriteString(keys::Focuser, keys::Driver, s.driver);
  f.WriteInteger(keys::Focuser, keys::Position, s.position);
  f.WriteInteger(keys::Focuser, keys::PositionMap, s.positionMap);
  f.WriteInteger(keys::Focuser, keys::LimiteBasse, s.limiteBasse);
  f.WriteInteger(keys::Focuser, keys::LimiteHaute, s.limiteHaute);
  f.WriteInteger(keys::Autofocus, keys::Tolerance, s.tolerance);
  f.WriteInteger(keys::Autofocus, keys::LowSpeed, s.lowSpeed);
  f.WriteInteger(keys::Autofocus, keys::HighSpeed, s.highSpeed);
  f.WriteInteger(keys::Autofocus, keys::Methode, s.methode);
  f.WriteInteger(keys::Autofocus, keys::Mesures, s.mesures);
  f.WriteInteger(keys::Autofocus, keys::Taille, s.taille);
  f.WriteInteger(keys::Autofocus, keys::DelaiSuivi, s.delaiSuivi);
  if (cibleBeforeManuel) f.WriteString(keys::Autofocus, keys::FwhmCible, formatCible(s.cible));
  f.WriteInteger(keys::Autofocus, keys::Manuel, s.manuel ? 1 : 0);
  if (!cibleBeforeManuel) f.WriteString(keys::Autofocus, keys::FwhmCible, formatCible(s.cible));
  f.WriteInteger(keys::Programme, keys::Gauche, s.gauche);
  f.WriteInteger(keys::Programme, keys::Haut, s.haut);
}

}  // namespace

StoredSettings readSettings(const IniFile& f, bool& cibleUnreadable, QString& badCible) {
  StoredSettings s;
  readCommonKeys(f, s);
  s.taille = f.ReadInteger(keys::Autofocus, keys::Taille, s.taille);
  readCible(f, s, cibleUnreadable, badCible);
  s.manuel = f.ReadInteger(keys::Autofocus, keys::Manuel, 0) == 1;
  s.gauche = f.ReadInteger(keys::Programme, keys::Gauche, s.gauche);
  s.haut = f.ReadInteger(keys::Programme, keys::Haut, s.haut);
  return s;
}

QStringList clampToHardLimits(StoredSettings& s, const QString& where) {
  QStringList lines;
  if (s.taille > kMaxTaille) {
    s.taille = kMaxTaille;
    lines << QStringLiteral("Taille trop grande dans %1 : %2 utilisé.").arg(where).arg(kMaxTaille);
  }
  if (s.mesures > kMaxMesures) {
    s.mesures = kMaxMesures;
    lines << QStringLiteral("Mesures trop grand dans %1 : %2 utilisé.").arg(where).arg(kMaxMesures);
  }
  return lines;
}

void writeSettings(IniFile& f, const StoredSettings& s) { writeAllKeys(f, s, false); }

void writeProfile(IniFile& f, const StoredSettings& s) { writeAllKeys(f, s, true); }

StoredSettings readProfile(const IniFile& f, bool& cibleUnreadable, QString& badCible) {
  StoredSettings s;
  // A profile's own defaults where the settings file has 3 and 3.
  s.highSpeed = 10;
  s.tolerance = 5;
  readCommonKeys(f, s);
  readCible(f, s, cibleUnreadable, badCible);
  return s;
}
