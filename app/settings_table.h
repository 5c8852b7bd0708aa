#pragma once
// The stored settings: the fields of the state record that the settings file
// "trevast.ini" and the profile files carry, and the one table that says, for
// each, its section and key, the field it feeds, its defaults, its format,
// where each file writes it, whether the settings dialog's OK takes it and
// the range of the values it may hold.
// The settings file, the profiles and the dialog's hand-over walk this table
// (app/settings_store.*, settings_dialog/Unit3.cpp).
#include <QString>
#include <iterator>
#include <optional>
#include <string_view>
#include <variant>

// Sentinels of the stored values.
constexpr int kNoLowerLimit = 0;
constexpr int kNoUpperLimit = 99999;
constexpr int kNoFocusPosition = 0;
constexpr int kNoStoredPlace = -1;

// The settings fields of the state record. The main window derives from it,
// so the table addresses its fields, and a plain record is read and written
// without a window. Every field starts at zero; the window's creation and the
// settings file give the values.
struct SettingsRecord {
  QString FocName;          // driver's friendly name
  QString FocDriver;        // driver's identifier; empty = none configured
  int xPasLent = 0;         // slow move, in multiples of FocStep
  int xPasRapide = 0;       // fast move = xPasLent x xPasRapide x FocStep
  int xTolerance = 0;       // autofocus tolerance, percent
  int xDelaiAutofocus = 0;  // settle delay, seconds
  int xLimiteBasse = 0;     // lower limit; 0 = none
  int xLimiteHaute = 0;     // upper limit; 99999 = none
  int xPosition = 0;        // focuser position as the program knows it
  int xPositionMap = 0;     // stored focus position; 0 = none
  int FormGauche = 0;       // window left read from the settings; -1 = none
  int FormHaut = 0;         // window top read from the settings; -1 = none
  int xMethode = 0;         // 0 successive approaches, else intra/extra
  double xCible = 0.0;      // target FWHM of the intra/extra method, pixels
  int xNbMesures = 0;       // measures per focuser position
  bool xManuel = false;     // manual trigger before each autofocus measure
  int xTaille = 0;          // side of the measured square, pixels

  bool operator==(const SettingsRecord&) const = default;
};

// How a value is written and read back.
enum class SettingFormat {
  Text,     // the text itself, read up to 2047 characters
  Integer,  // decimal; hexadecimal after "0x" or "$"; any other text reads as the default
  Target,   // 3 significant digits, 2 decimals, the locale's separator; read in either
            // notation, and a text that is no number is told to the user
  Flag,     // 1 or 0; only 1 reads as set
  Place,    // an integer, a screen coordinate of the window; the close and a profile save
            // write where the window stands (TForm1::settingsToStore)
};

// How the log's lines agree with a key when they say its value was brought
// within its range ("Taille trop petite", "Delai suivi trop grand").
enum class KeyGender { Masculine, Feminine, FemininePlural };

// The values a stored number may hold: those its control in the settings
// dialog offers, which takes them from here. A value read outside them, from
// the settings file or a profile, is brought to the nearer bound; an item of
// a list, to the first item.
struct ValueRange {
  int low;
  int high;
  bool listItem;  // an item's index in a list: no item is nearer than another to one it lacks
  KeyGender gender;
};

using SettingField = std::variant<QString SettingsRecord::*, int SettingsRecord::*, double SettingsRecord::*,
                                  bool SettingsRecord::*>;

struct Setting {
  const char* section;
  const char* key;
  SettingField field;                 // the field of the state record it feeds
  SettingFormat format;
  int fileDefault;                    // for a missing or unreadable value; a text's is empty
  std::optional<int> profileDefault;  // the same for a profile load; none: a load leaves the field
  int fileWrite;                      // place in the settings file's write order, from 1
  int profileWrite;                   // place in a profile's write order, from 1
  bool copiedOnOk;                    // the settings dialog's OK takes it from its control
  std::optional<ValueRange> range;    // none: any value its format reads
};

namespace settings_table {
using enum SettingFormat;
using enum KeyGender;
inline constexpr const char* Focuser = "Focuser";
inline constexpr const char* Autofocus = "Autofocus";
inline constexpr const char* Programme = "Programme";
inline constexpr int Empty = 0;  // a text's default, the empty text
inline constexpr std::optional<int> NotLoaded = std::nullopt;
inline constexpr bool OnOk = true;
inline constexpr bool NotOnOk = false;
inline constexpr std::optional<ValueRange> AnyValue = std::nullopt;
constexpr std::optional<ValueRange> Within(int low, int high, KeyGender gender) {
  return ValueRange{low, high, false, gender};
}
constexpr std::optional<ValueRange> ItemOf(int items, KeyGender gender) {
  return ValueRange{0, items - 1, true, gender};
}

// Every stored setting once, in the order the settings file reads them; a
// profile load reads the keys it takes in the same order.
inline constexpr Setting kSettings[] = {
    // clang-format off
    // section  key             field                             format   file default      profile default   write: file, profile  OK       range
    {Focuser,   "Driver",       &SettingsRecord::FocDriver,       Text,    Empty,            Empty,            2,  2,  NotOnOk, AnyValue},
    {Focuser,   "Name",         &SettingsRecord::FocName,         Text,    Empty,            Empty,            1,  1,  NotOnOk, AnyValue},
    {Focuser,   "Position",     &SettingsRecord::xPosition,       Integer, 0,                0,                3,  3,  NotOnOk, AnyValue},
    {Focuser,   "Position MAP", &SettingsRecord::xPositionMap,    Integer, kNoFocusPosition, kNoFocusPosition, 4,  4,  OnOk,    AnyValue},
    {Focuser,   "Limite basse", &SettingsRecord::xLimiteBasse,    Integer, kNoLowerLimit,    kNoLowerLimit,    5,  5,  OnOk,    AnyValue},
    {Focuser,   "Limite haute", &SettingsRecord::xLimiteHaute,    Integer, kNoUpperLimit,    kNoUpperLimit,    6,  6,  OnOk,    AnyValue},
    {Autofocus, "LowSpeed",     &SettingsRecord::xPasLent,        Integer, 2,                2,                8,  8,  OnOk,    Within(0, 10, Masculine)},
    {Autofocus, "HighSpeed",    &SettingsRecord::xPasRapide,      Integer, 3,                10,               9,  9,  OnOk,    Within(0, 95, Masculine)},
    {Autofocus, "Tolerance",    &SettingsRecord::xTolerance,      Integer, 3,                5,                7,  7,  OnOk,    Within(0, 6, Feminine)},
    {Autofocus, "Méthode",      &SettingsRecord::xMethode,        Integer, 0,                0,                10, 10, OnOk,    ItemOf(2, Feminine)},
    {Autofocus, "Mesures",      &SettingsRecord::xNbMesures,      Integer, 2,                2,                11, 11, OnOk,    Within(1, 10, FemininePlural)},
    {Autofocus, "Delai suivi",  &SettingsRecord::xDelaiAutofocus, Integer, 3,                3,                13, 13, OnOk,    Within(0, 120, Masculine)},
    {Autofocus, "Taille",       &SettingsRecord::xTaille,         Integer, 20,               NotLoaded,        12, 12, OnOk,    Within(20, 40, Feminine)},
    {Autofocus, "FWHM cible",   &SettingsRecord::xCible,          Target,  0,                0,                15, 14, NotOnOk, AnyValue},
    {Autofocus, "Manuel",       &SettingsRecord::xManuel,         Flag,    0,                NotLoaded,        14, 15, OnOk,    AnyValue},
    {Programme, "Gauche",       &SettingsRecord::FormGauche,      Place,   kNoStoredPlace,   NotLoaded,        16, 16, NotOnOk, AnyValue},
    {Programme, "Haut",         &SettingsRecord::FormHaut,        Place,   kNoStoredPlace,   NotLoaded,        17, 17, NotOnOk, AnyValue},
    // clang-format on
};

// What a mistake in the table would break, checked as the program is built.
// Names in an INI file match without regard to the case of ASCII letters.
constexpr bool sameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}
constexpr bool eachKeyOnce() {
  for (const Setting& a : kSettings)
    for (const Setting& b : kSettings)
      if (&a != &b && sameName(a.section, b.section) && sameName(a.key, b.key)) return false;
  return true;
}
constexpr bool eachFieldOnce() {
  for (const Setting& a : kSettings)
    for (const Setting& b : kSettings)
      if (&a != &b && a.field == b.field) return false;
  return true;
}
// Each place from 1 to the number of settings is given to exactly one setting.
constexpr bool isWriteOrder(int Setting::*place) {
  const int count = static_cast<int>(std::size(kSettings));
  for (int n = 1; n <= count; ++n) {
    int given = 0;
    for (const Setting& s : kSettings) given += s.*place == n ? 1 : 0;
    if (given != 1) return false;
  }
  return true;
}
constexpr bool formatsFitFields() {
  for (const Setting& s : kSettings) {
    const bool fits =
        (s.format == Text && std::holds_alternative<QString SettingsRecord::*>(s.field)) ||
        ((s.format == Integer || s.format == Place) && std::holds_alternative<int SettingsRecord::*>(s.field)) ||
        (s.format == Target && std::holds_alternative<double SettingsRecord::*>(s.field)) ||
        (s.format == Flag && std::holds_alternative<bool SettingsRecord::*>(s.field));
    if (!fits) return false;
  }
  return true;
}
// A range bounds whole numbers only, and holds the defaults a read gives.
constexpr bool rangesHoldTheirDefaults() {
  for (const Setting& s : kSettings) {
    if (!s.range) continue;
    const auto holds = [&](int v) { return s.range->low <= v && v <= s.range->high; };
    if (s.format != Integer || !holds(s.fileDefault) || (s.profileDefault && !holds(*s.profileDefault)))
      return false;
  }
  return true;
}
static_assert(eachKeyOnce(), "a key is listed twice");
static_assert(eachFieldOnce(), "two keys feed the same field");
static_assert(isWriteOrder(&Setting::fileWrite), "the settings file's write order misses or repeats a place");
static_assert(isWriteOrder(&Setting::profileWrite), "a profile's write order misses or repeats a place");
static_assert(formatsFitFields(), "a format does not fit its field");
static_assert(rangesHoldTheirDefaults(), "a range bounds no whole number, or leaves out its default");

}  // namespace settings_table

using settings_table::kSettings;

// The range of the setting that feeds `field`, for the control that edits it;
// a field with no range does not build.
consteval ValueRange rangeOf(int SettingsRecord::*field) {
  for (const Setting& s : kSettings)
    if (s.field == SettingField(field) && s.range) return *s.range;
  throw "this field has no range in the settings table";
}
