#pragma once
// A main window on fake platform services: an in-memory desktop, virtual
// time (clock and event pump), scripted dialogs, an empty class registry and
// registry, the real version block, and a temporary program folder.
#include <QTemporaryDir>
#include <memory>

#include "app/Unit1.h"
#include "platform/application.h"
#include "platform/clock.h"
#include "memory_desktop.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/registry_file.h"
#include "platform/version_info.h"
#include "qt_printers.h"
#include "virtual_time.h"
#include "scripted_dialogs.h"
#include "memory_registry.h"

struct TestPlatform {
  TestPlatform();
  ~TestPlatform();

  QTemporaryDir folder;
  MemoryDesktop desktop;
  VirtualTime time;
  ScriptedDialogs dialogs;
  ComRegistry com;
  MemoryRegistry registry;
  std::unique_ptr<VersionSource> version;
  std::unique_ptr<PlatformServices> services;
  std::unique_ptr<TApplication> application;

  QString iniPath() const { return folder.path() + QStringLiteral("/trevast.ini"); }
  void writeIni(const QByteArray& bytes) const;
  QByteArray readIni() const;
};

// Puts the process back as a test found it at start: the program's globals at
// their first values, the real measurement for autofocus runs, the decimal
// point, nothing left posted, and event loops that run again after a close
// told the application to leave its main loop. The test main runs it after
// every test, so a binary passes run whole as it does test by test.
void resetBetweenTests();

// Makes the main window as the program block does: construction, creation
// handler, and (unless `show` is false) the first show.
std::unique_ptr<TForm1> makeForm(TestPlatform& platform, bool show = true);
