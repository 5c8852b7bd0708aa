#pragma once
// The ASCOM platform as this system provides it: the four platform objects
// the program creates by identifier, and the focuser drivers installed on it.
//
//   "ASCOM.Utilities.Util"  PlatformVersion (read): the version text
//   "DriverHelper.Util"     MessageBox(text, icon flag, caption): a modal box
//   "DriverHelper.Profile"  DeviceType (write); GetValue(identifier, ""): the
//                           friendly name of an installed driver
//   "DriverHelper.Chooser"  devicetype (write); Choose(current): a modal list
//                           of the installed focuser drivers, "" on cancel
//
// What is installed is kept in "ascom.ini" in the user's configuration folder
// ($XDG_CONFIG_HOME/trevast/ascom.ini), so a user or a test can set a missing
// platform, another version or another driver list:
//
//   [Platform]
//   ; 0: no platform at all
//   Installed=1
//   ; the text PlatformVersion returns
//   Version=6.0
//   ; installed focuser drivers, comma-separated
//   Focusers=FocusSim.Focuser
//
//   ; one section per driver: its friendly name, and for the simulator its
//   ; parameters
//   [FocusSim.Focuser]
//   Name=Simulateur de focuser
//   Absolute=1
//   Speed=1000
//   MaxIncrement=5000
//   MaxStep=50000
//   StepSize=5
//   Position=25000
//
// A comment stands on a line of its own: after a value it is part of the value.
// With no file the platform is installed at version 6.0 with the simulator.
// A simulator value that is no number, lies beyond what its setup window
// offers, or starts the motor outside its travel gives way to the default.
// A driver listed without a program behind it (any identifier but the
// simulator's) is shown by the chooser and the profile but cannot be created.
#include <QList>
#include <QStringList>
#include <QString>
#include <memory>

#include "platform/dialogs.h"
#include "platform/focuser_sim.h"

class Clock;
class ComRegistry;

struct AscomConfig {
  bool installed = true;
  QString version = QStringLiteral("6.0");
  QList<DriverEntry> focusers = {{kFocusSimId, QStringLiteral("Simulateur de focuser")}};
  FocusSimSettings simulator;
  // Each simulator value that gave way, with what is used instead, for the
  // user; only while the simulator is installed. A file that could not be read
  // whole, whose defaults are used, is named there too.
  QStringList unusable;
};

// $XDG_CONFIG_HOME/trevast/ascom.ini
QString ascomConfigPath();
// The configuration in `path`; a missing file or key gives its default, and
// so does a file that could not be read whole.
AscomConfig readAscomConfig(const QString& path);
// Keeps the simulator's parameters in its section of `path`, the rest of the
// file as it stands; a file that could not be read whole is left as it is and
// the write error is thrown.
void writeFocusSimSettings(const QString& path, const FocusSimSettings& settings);

// Registers the platform objects and the installed drivers that have a
// program (the simulator) in `com`. Returns the simulator's motor, or null
// when the simulator is not installed. `setup` is the simulator's own setup
// window.
std::shared_ptr<FocusSimMotor> InstallAscomPlatform(ComRegistry& com, Dialogs& dialogs, Clock& clock,
                                                    const AscomConfig& config, FocusSimDriver::SetupUi setup);

// The program's installation: the configuration from `path`, which it
// returns, and the simulator's setup dialog keeping what it changes in that
// file.
AscomConfig InstallAscomPlatform(ComRegistry& com, Dialogs& dialogs, Clock& clock,
                                 const QString& path = ascomConfigPath());
