#pragma once
// The platform services the program runs on, handed to the main window by the
// program block (real ones) or by a test (fakes).
#include <QString>

class Desktop;
class Clock;
class Dialogs;
class ComRegistry;
class Registry;
class VersionSource;

struct PlatformServices {
  Desktop& desktop;
  Clock& clock;
  Dialogs& dialogs;
  ComRegistry& com;
  Registry& registry;
  VersionSource& version;
  // The folder of the running program's executable, with its trailing
  // separator; the settings file lies there.
  QString programFolder;
};
