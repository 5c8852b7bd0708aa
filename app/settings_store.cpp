#include "app/settings_store.h"

#include "platform/ini_file.h"
#include "platform/number_format.h"

QString formatCible(double cible) { return numfmt::Fixed3(cible, 2); }

StoredSettings readSettings(const IniFile& f, bool& cibleUnreadable, QString& badCible) {
  StoredSettings s;
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
  s.taille = f.ReadInteger(keys::Autofocus, keys::Taille, s.taille);
  const QString cible = f.ReadString(keys::Autofocus, keys::FwhmCible, QStringLiteral("0"));
  cibleUnreadable = !numfmt::TryStrToStoredFloat(cible, s.cible);
  if (cibleUnreadable) {
    s.cible = 0.0;
    badCible = cible;
  }
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

void writeSettings(IniFile& f, const StoredSettings& s) {
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
  f.WriteInteger(keys::Autofocus, keys::Manuel, s.manuel ? 1 : 0);
  f.WriteString(keys::Autofocus, keys::FwhmCible, formatCible(s.cible));
  f.WriteInteger(keys::Programme, keys::Gauche, s.gauche);
  f.WriteInteger(keys::Programme, keys::Haut, s.haut);
}

void writeProfile(IniFile& f, const StoredSettings& s) {
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
  f.WriteString(keys::Autofocus, keys::FwhmCible, formatCible(s.cible));
  f.WriteInteger(keys::Autofocus, keys::Manuel, s.manuel ? 1 : 0);
  f.WriteInteger(keys::Programme, keys::Gauche, s.gauche);
  f.WriteInteger(keys::Programme, keys::Haut, s.haut);
}

StoredSettings readProfile(const IniFile& f, bool& cibleUnreadable, QString& badCible) {
  StoredSettings s;
  s.highSpeed = 10;
  s.tolerance = 5;
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
  const QString cible = f.ReadString(keys::Autofocus, keys::FwhmCible, QStringLiteral("0"));
  cibleUnreadable = !numfmt::TryStrToStoredFloat(cible, s.cible);
  if (cibleUnreadable) {
    s.cible = 0.0;
    badCible = cible;
  }
  return s;
}
