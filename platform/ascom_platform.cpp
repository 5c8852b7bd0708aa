#include "platform/ascom_platform.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/automation.h"
#include "platform/dialogs_qt.h"
#include "platform/ini_file.h"

namespace {

const QString kPlatformSection = QStringLiteral("Platform");
const QString kFocuserType = QStringLiteral("Focuser");

void readOnly(const QString& member, InvokeKind kind) {
  if (kind == InvokeKind::Put) throw unknownMember(member);
}

QString optionalText(const std::vector<Arg>& args, size_t index) {
  return index < args.size() ? args[index].value.toString() : QString();
}

// "ASCOM.Utilities.Util"
class PlatformUtilities : public Dispatch {
 public:
  explicit PlatformUtilities(QString version) : version_(std::move(version)) {}
  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>&) override {
    if (!isMember(member, "PlatformVersion")) throw unknownMember(member);
    readOnly(member, kind);
    return version_;
  }

 private:
  QString version_;
};

// "DriverHelper.Util"
class MessageUtilities : public Dispatch {
 public:
  explicit MessageUtilities(Dialogs& dialogs) : dialogs_(dialogs) {}
  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) override {
    if (!isMember(member, "MessageBox")) throw unknownMember(member);
    readOnly(member, kind);
    const QString text = argumentAt(args, 0).toString();
    const int icon = args.size() > 1 ? args[1].value.toInt() : 0;
    dialogs_.AscomMessageBox(text, icon, optionalText(args, 2));
    return {};
  }

 private:
  Dialogs& dialogs_;
};

// The friendly names of the installed drivers of `deviceType`.
QList<DriverEntry> driversOfType(const AscomConfig& config, const QString& deviceType) {
  return deviceType.compare(kFocuserType, Qt::CaseInsensitive) == 0 ? config.focusers : QList<DriverEntry>();
}

// "DriverHelper.Profile"
class Profile : public Dispatch {
 public:
  explicit Profile(const AscomConfig& config) : config_(config) {}
  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) override {
    if (isMember(member, "DeviceType")) {
      if (kind == InvokeKind::Put) deviceType_ = argumentAt(args, 0).toString();
      return deviceType_;
    }
    if (isMember(member, "GetValue")) {
      readOnly(member, kind);
      const QString driver = argumentAt(args, 0).toString();
      // The driver's own key (an empty name) holds its friendly name; the
      // profile keeps no other value.
      if (!optionalText(args, 1).isEmpty()) return QString();
      for (const DriverEntry& d : driversOfType(config_, deviceType_))
        if (d.progId.compare(driver, Qt::CaseInsensitive) == 0) return d.name;
      return QString();
    }
    throw unknownMember(member);
  }

 private:
  const AscomConfig config_;
  QString deviceType_;
};

// "DriverHelper.Chooser"
class Chooser : public Dispatch {
 public:
  Chooser(const AscomConfig& config, Dialogs& dialogs) : config_(config), dialogs_(dialogs) {}
  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) override {
    if (isMember(member, "devicetype")) {
      if (kind == InvokeKind::Put) deviceType_ = argumentAt(args, 0).toString();
      return deviceType_;
    }
    if (isMember(member, "Choose")) {
      readOnly(member, kind);
      return dialogs_.ChooseDriver(driversOfType(config_, deviceType_), optionalText(args, 0));
    }
    throw unknownMember(member);
  }

 private:
  const AscomConfig config_;
  Dialogs& dialogs_;
  QString deviceType_;
};

bool readFlag(const IniFile& file, const QString& section, const QString& key, bool def) {
  return file.ReadInteger(section, key, def ? 1 : 0) != 0;
}

// A value of the simulator's section within `bounds`; a value beyond them, or
// no number, gives way to `fallback` and is named in `unusable`.
int readSimulatorValue(const IniFile& file, const QString& key, int fallback, FocusSimSettings::Bounds bounds,
                       QStringList& unusable) {
  if (!file.hasKey(kFocusSimId, key)) return fallback;
  const QString text = file.ReadString(kFocusSimId, key, QString());
  int value = 0;
  if (parseIniInteger(text, value) && value >= bounds.min && value <= bounds.max) return value;
  unusable << QStringLiteral("%1=%2 inutilisable dans %3 : %4 utilisé.")
                  .arg(key, text, QFileInfo(file.FileName()).fileName())
                  .arg(fallback);
  return fallback;
}

bool simulatorListed(const AscomConfig& config) {
  return std::any_of(config.focusers.begin(), config.focusers.end(), [](const DriverEntry& d) {
    return d.progId.compare(kFocusSimId, Qt::CaseInsensitive) == 0;
  });
}

}  // namespace

QString ascomConfigPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/trevast/ascom.ini";
}

AscomConfig readAscomConfig(const QString& path) {
  AscomConfig config;
  const IniFile file(path);
  config.installed = readFlag(file, kPlatformSection, QStringLiteral("Installed"), config.installed);
  config.version = file.ReadString(kPlatformSection, QStringLiteral("Version"), config.version);

  FocusSimSettings& sim = config.simulator;
  QStringList& unusable = config.unusable;
  using S = FocusSimSettings;
  sim.absolute = readSimulatorValue(file, QStringLiteral("Absolute"), sim.absolute, {0, 1}, unusable) != 0;
  sim.speed = readSimulatorValue(file, QStringLiteral("Speed"), sim.speed, S::kSpeedBounds, unusable);
  sim.maxIncrement =
      readSimulatorValue(file, QStringLiteral("MaxIncrement"), sim.maxIncrement, S::kMaxIncrementBounds, unusable);
  sim.maxStep = readSimulatorValue(file, QStringLiteral("MaxStep"), sim.maxStep, S::kMaxStepBounds, unusable);
  sim.stepSize = readSimulatorValue(file, QStringLiteral("StepSize"), sim.stepSize, S::kStepSizeBounds, unusable);
  // A start outside the travel: the default start, or the middle of a travel
  // too short for it.
  const int start = sim.startPosition <= sim.maxStep ? sim.startPosition : sim.maxStep / 2;
  sim.startPosition = readSimulatorValue(file, QStringLiteral("Position"), start,
                                         {S::kStartPositionBounds.min, sim.maxStep}, unusable);

  if (file.hasKey(kPlatformSection, QStringLiteral("Focusers"))) {
    const QList<DriverEntry> defaults = config.focusers;
    config.focusers.clear();
    const QString list = file.ReadString(kPlatformSection, QStringLiteral("Focusers"), QString());
    for (const QString& part : list.split(QLatin1Char(','))) {
      const QString id = part.trimmed();
      if (id.isEmpty()) continue;
      QString name = id;
      for (const DriverEntry& d : defaults)
        if (d.progId.compare(id, Qt::CaseInsensitive) == 0) name = d.name;
      config.focusers.append({id, file.ReadString(id, QStringLiteral("Name"), name)});
    }
  } else {
    for (DriverEntry& d : config.focusers) d.name = file.ReadString(d.progId, QStringLiteral("Name"), d.name);
  }
  if (!config.installed || !simulatorListed(config)) unusable.clear();
  // The defaults stand in for the user's list of drivers: the user is told.
  if (file.Refused()) unusable << iniReadError(path) + QLatin1Char('.');
  return config;
}

void writeFocusSimSettings(const QString& path, const FocusSimSettings& s) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  IniFile file(path);
  file.WriteInteger(kFocusSimId, QStringLiteral("Absolute"), s.absolute ? 1 : 0);
  file.WriteInteger(kFocusSimId, QStringLiteral("Speed"), s.speed);
  file.WriteInteger(kFocusSimId, QStringLiteral("MaxIncrement"), s.maxIncrement);
  file.WriteInteger(kFocusSimId, QStringLiteral("MaxStep"), s.maxStep);
  file.WriteInteger(kFocusSimId, QStringLiteral("StepSize"), s.stepSize);
  file.WriteInteger(kFocusSimId, QStringLiteral("Position"), s.startPosition);
  file.UpdateFile();
}

std::shared_ptr<FocusSimMotor> InstallAscomPlatform(ComRegistry& com, Dialogs& dialogs, Clock& clock,
                                                    const AscomConfig& config, FocusSimDriver::SetupUi setup) {
  if (!config.installed) return nullptr;
  com.registerClass(QStringLiteral("ASCOM.Utilities.Util"),
                    [version = config.version] { return std::make_shared<PlatformUtilities>(version); });
  com.registerClass(QStringLiteral("DriverHelper.Util"),
                    [&dialogs] { return std::make_shared<MessageUtilities>(dialogs); });
  com.registerClass(QStringLiteral("DriverHelper.Profile"), [config] { return std::make_shared<Profile>(config); });
  com.registerClass(QStringLiteral("DriverHelper.Chooser"),
                    [config, &dialogs] { return std::make_shared<Chooser>(config, dialogs); });

  if (!simulatorListed(config)) return nullptr;
  auto motor = std::make_shared<FocusSimMotor>(clock, config.simulator);
  com.registerClass(kFocusSimId, [motor, setup] { return std::make_shared<FocusSimDriver>(motor, setup); });
  return motor;
}

AscomConfig InstallAscomPlatform(ComRegistry& com, Dialogs& dialogs, Clock& clock, const QString& path) {
  auto setup = [path](FocusSimMotor& motor) {
    FocusSimSettings settings = motor.settings();
    if (!runFocusSimSetupDialog(settings, openerWindow())) return;
    motor.setSettings(settings);
    try {
      writeFocusSimSettings(path, settings);
    } catch (const Exception& e) {
      // The driver's error, as its caller sees any error of a member.
      throw AutomationError(kFocusSimId, e.message(), 0);
    }
  };
  AscomConfig config = readAscomConfig(path);
  InstallAscomPlatform(com, dialogs, clock, config, setup);
  return config;
}
