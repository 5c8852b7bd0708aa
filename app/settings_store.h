#pragma once
// Reading and writing the stored settings by the table of app/settings_table.h:
// "trevast.ini" and the profile files carry the same sections and keys, each
// file in an order of its own, and a profile load with defaults of its own.
#include <QString>
#include <QStringList>
#include <optional>

#include "app/settings_table.h"

class IniFile;

// "FWHM cible" as it is written: 3 significant digits, 2 decimals, the
// locale's separator.
QString formatCible(double cible);

// Reads the seventeen keys into `r`, each with the settings file's default. A
// "FWHM cible" that reads as no number, in either decimal notation, gives the
// default and its text is returned, for the caller to tell once every key is read.
std::optional<QString> readSettings(const IniFile& file, SettingsRecord& r);

// Brings each number outside its range in the table to the nearer bound (an
// item outside its list to the first item) and returns a log line for each,
// naming the file `where` it was read from; values within are left as they are.
QStringList bringWithinRanges(SettingsRecord& r, const QString& where);

// Writes the seventeen keys in the settings file's order.
void writeSettings(IniFile& file, const SettingsRecord& r);

// ---- Profile files: the same keys, in an order and with defaults of their own ----

// Writes the seventeen keys in a profile's order: "FWHM cible" before "Manuel".
void writeProfile(IniFile& file, const SettingsRecord& r);

// Reads the thirteen keys a profile load takes into `r`, with the load's own
// defaults ("HighSpeed" 10 and "Tolerance" 5); "Taille", "Manuel", "Gauche"
// and "Haut" keep their values. A "FWHM cible" that reads as no number keeps
// the target's value, and its text is returned.
std::optional<QString> readProfile(const IniFile& file, SettingsRecord& r);

// ---- The settings dialog ----

// Copies what the dialog's OK hands over from the values read off its
// controls into the state record.
void copyOnOk(const SettingsRecord& fromDialog, SettingsRecord& record);
