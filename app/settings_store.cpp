#include "app/settings_store.h"

#include "autofocus/approches.h"
#include "measure/fwhm.h"
#include "platform/ini_file.h"
#include "platform/number_format.h"

QString formatCible(double cible) { return numfmt::Fixed3(cible, 2); }

// The ranges keep what the measurement and the autofocus can hold.
static_assert(rangeOf(&SettingsRecord::xTaille).high <= kMaxTaille, "a square the measurement cannot hold");
static_assert(rangeOf(&SettingsRecord::xNbMesures).high <= std::tuple_size_v<TabDouble>,
              "more measures than a position holds");

namespace {

// What a read does with a "FWHM cible" that is no number.
enum class BadTarget { TakeDefault, KeepValue };

// Reads one key into its field; a missing or unreadable value gives `def`.
void readKey(const IniFile& f, const Setting& s, int def, BadTarget badTarget, SettingsRecord& r,
             std::optional<QString>& unreadableTarget) {
  const QString section = QString::fromUtf8(s.section);
  const QString key = QString::fromUtf8(s.key);
  switch (s.format) {
    case SettingFormat::Text:
      r.*std::get<QString SettingsRecord::*>(s.field) = f.ReadString(section, key, QString());
      break;
    case SettingFormat::Integer:
    case SettingFormat::Place:
      r.*std::get<int SettingsRecord::*>(s.field) = f.ReadInteger(section, key, def);
      break;
    case SettingFormat::Flag:
      r.*std::get<bool SettingsRecord::*>(s.field) = f.ReadInteger(section, key, def) == 1;
      break;
    case SettingFormat::Target: {
      double& target = r.*std::get<double SettingsRecord::*>(s.field);
      const QString text = f.ReadString(section, key, QString::number(def));
      double value = 0.0;
      if (numfmt::TryStrToStoredFloat(text, value)) {
        target = value;
      } else {
        unreadableTarget = text;
        if (badTarget == BadTarget::TakeDefault) target = def;
      }
      break;
    }
  }
}

void writeKey(IniFile& f, const Setting& s, const SettingsRecord& r) {
  const QString section = QString::fromUtf8(s.section);
  const QString key = QString::fromUtf8(s.key);
  switch (s.format) {
    case SettingFormat::Text:
      f.WriteString(section, key, r.*std::get<QString SettingsRecord::*>(s.field));
      break;
    case SettingFormat::Integer:
    case SettingFormat::Place:
      f.WriteInteger(section, key, r.*std::get<int SettingsRecord::*>(s.field));
      break;
    case SettingFormat::Flag:
      f.WriteInteger(section, key, r.*std::get<bool SettingsRecord::*>(s.field) ? 1 : 0);
      break;
    case SettingFormat::Target:
      f.WriteString(section, key, formatCible(r.*std::get<double SettingsRecord::*>(s.field)));
      break;
  }
}

// An adjective as it agrees with a key of that gender.
QString agreeing(const QString& adjective, KeyGender gender) {
  switch (gender) {
    case KeyGender::Masculine:
      return adjective;
    case KeyGender::Feminine:
      return adjective + QStringLiteral("e");
    case KeyGender::FemininePlural:
      return adjective + QStringLiteral("es");
  }
  return adjective;
}

// Every key, in the order `place` gives them.
void writeInOrder(IniFile& f, const SettingsRecord& r, int Setting::*place) {
  const int count = static_cast<int>(std::size(kSettings));
  for (int n = 1; n <= count; ++n)
    for (const Setting& s : kSettings)
      if (s.*place == n) writeKey(f, s, r);
}

}  // namespace

std::optional<QString> readSettings(const IniFile& f, SettingsRecord& r) {
  std::optional<QString> unreadableTarget;
  for (const Setting& s : kSettings) readKey(f, s, s.fileDefault, BadTarget::TakeDefault, r, unreadableTarget);
  return unreadableTarget;
}

QStringList bringWithinRanges(SettingsRecord& r, const QString& where) {
  QStringList lines;
  for (const Setting& s : kSettings) {
    if (!s.range) continue;
    int& value = r.*std::get<int SettingsRecord::*>(s.field);
    const ValueRange range = *s.range;
    if (range.low <= value && value <= range.high) continue;
    const bool tooLow = value < range.low;
    value = tooLow || range.listItem ? range.low : range.high;
    const QString said = range.listItem ? QStringLiteral("inconnu")
                         : tooLow       ? QStringLiteral("trop petit")
                                        : QStringLiteral("trop grand");
    lines << QStringLiteral("%1 %2 dans %3 : %4 utilisé.")
                 .arg(QString::fromUtf8(s.key), agreeing(said, range.gender), where)
                 .arg(value);
  }
  return lines;
}

void writeSettings(IniFile& f, const SettingsRecord& r) { writeInOrder(f, r, &Setting::fileWrite); }

void writeProfile(IniFile& f, const SettingsRecord& r) { writeInOrder(f, r, &Setting::profileWrite); }

std::optional<QString> readProfile(const IniFile& f, SettingsRecord& r) {
  std::optional<QString> unreadableTarget;
  for (const Setting& s : kSettings)
    if (s.profileDefault) readKey(f, s, *s.profileDefault, BadTarget::KeepValue, r, unreadableTarget);
  return unreadableTarget;
}

void copyOnOk(const SettingsRecord& fromDialog, SettingsRecord& record) {
  for (const Setting& s : kSettings)
    if (s.copiedOnOk) std::visit([&](auto field) { record.*field = fromDialog.*field; }, s.field);
}
