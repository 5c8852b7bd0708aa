#pragma once
// The stored settings: the keys of "trevast.ini" (and of the profile files,
// which carry the same sections and keys), their defaults and their formats.
#include <QString>
#include <QStringList>

class IniFile;

namespace keys {
inline const QString Focuser = QStringLiteral("Focuser");
inline const QString Autofocus = QStringLiteral("Autofocus");
inline const QString Programme = QStringLiteral("Programme");

inline const QString Driver = QStringLiteral("Driver");
inline const QString Name = QStringLiteral("Name");
inline const QString Position = QStringLiteral("Position");
inline const QString PositionMap = QStringLiteral("Position MAP");
inline const QString LimiteBasse = QStringLiteral("Limite basse");
inline const QString LimiteHaute = QStringLiteral("Limite haute");
inline const QString LowSpeed = QStringLiteral("LowSpeed");
inline const QString HighSpeed = QStringLiteral("HighSpeed");
inline const QString Tolerance = QStringLiteral("Tolerance");
inline const QString Methode = QStringLiteral("Méthode");
inline const QString Mesures = QStringLiteral("Mesures");
inline const QString DelaiSuivi = QStringLiteral("Delai suivi");
inline const QString Taille = QStringLiteral("Taille");
inline const QString FwhmCible = QStringLiteral("FWHM cible");
inline const QString Manuel = QStringLiteral("Manuel");
inline const QString Gauche = QStringLiteral("Gauche");
inline const QString Haut = QStringLiteral("Haut");
}  // namespace keys

// Every value the settings file carries, with the defaults of its reader.
struct StoredSettings {
  QString driver;
  QString name;
  int position = 0;
  int positionMap = 0;
  int limiteBasse = 0;
  int limiteHaute = 99999;
  int lowSpeed = 2;
  int highSpeed = 3;
  int tolerance = 3;
  int methode = 0;
  int mesures = 2;
  int delaiSuivi = 3;
  int taille = 20;
  double cible = 0.0;
  bool manuel = false;
  int gauche = -1;
  int haut = -1;
};

// The most measures a focuser position holds.
constexpr int kMaxMesures = 20;

// "FWHM cible" as it is written: 3 significant digits, 2 decimals, the
// locale's separator.
QString formatCible(double cible);

// Reads the seventeen keys. A "FWHM cible" that reads as no number, in either
// decimal notation, leaves the default and its text in `badCible`.
StoredSettings readSettings(const IniFile& file, bool& cibleUnreadable, QString& badCible);

// Brings "Taille" and "Mesures" within what the measurement and the autofocus
// hold; returns the log lines that say so.
QStringList clampToHardLimits(StoredSettings& s, const QString& where);

// Writes the seventeen keys in the settings file's order.
void writeSettings(IniFile& file, const StoredSettings& s);

// ---- Profile files: the same keys, in an order and with defaults of their own ----

// Writes the seventeen keys in a profile's order: "FWHM cible" before "Manuel".
void writeProfile(IniFile& file, const StoredSettings& s);

// Reads the thirteen keys a profile load takes ("Taille", "Manuel", "Gauche"
// and "Haut" stay at their defaults here and are not used), with the load's
// own defaults: "HighSpeed" 10 and "Tolerance" 5. The target reads as in
// readSettings.
StoredSettings readProfile(const IniFile& file, bool& cibleUnreadable, QString& badCible);
