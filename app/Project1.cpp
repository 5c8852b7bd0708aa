// The program block: the application, the main window (whose first show reads
// the settings and connects the focuser), the settings dialog, the about box,
// then the message loop until the main window closes. A copy started from a
// folder where another one runs says so and ends before any of it.
#include <QApplication>
#include <QDir>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "platform/application.h"
#include "platform/ascom_platform.h"
#include "platform/automation.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/exception.h"
#include "platform/number_format.h"
#include "platform/registry_file.h"
#include "platform/version_info.h"
#include "resources/resources.h"
#include "settings_dialog/Unit3.h"
#include "platform/clock_system.h"
#include "platform/event_pump_qt.h"
#include "platform/desktop_x11.h"
#include "platform/dialogs_qt.h"
#include "platform/instance_lock_folder.h"
#include "platform/toolkit_french.h"
#include "platform/window_states.h"

namespace {

const QString kDejaLance = QStringLiteral("Trevast est déjà lancé depuis ce dossier");

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // The main window is a tool window, which Qt does not count as a last
  // window: its close ends the program itself.
  app.setQuitOnLastWindowClosed(false);
  keepWindowsNormal(app);
  installToolkitFrench(app);
  numfmt::UseSystemLocale();

  QtEventPump pump;
  QtDialogs dialogs;
  TApplication application(pump, dialogs);
  Application = &application;
  Application->Title = QStringLiteral("Trevast");

  // Two copies on one settings file would each write their own values over
  // the other's at close, a relative focuser's count among them.
  const QString programFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/');
  FolderInstanceLock instanceLock(programFolder);
  if (!instanceLock.TryLock()) {
    Application->HandleException(Exception(kDejaLance));
    return 1;
  }

  std::unique_ptr<Desktop> desktop = makeX11Desktop();
  SystemClock clock;
  ComRegistry com;
  const AscomConfig ascom = InstallAscomPlatform(com, dialogs, clock);
  FileRegistry registry;
  FixedVersionSource version(resources::versionBlock());
  PlatformServices services{*desktop, clock, dialogs, com, registry, version, programFolder};
  // What of the platform's file it could not use is told once, in one box.
  if (!ascom.unusable.isEmpty()) Application->HandleException(Exception(ascom.unusable.join(QLatin1Char('\n'))));

  TForm1 form1(services);
  Form1 = &form1;
  guarded([&] { form1.FormCreate(); });
  form1.show();  // the definition marks the window visible: the first show runs here

  TForm3 form3;
  Form3 = &form3;
  TAboutBox aboutBox;
  AboutBox = &aboutBox;

  if (Application->Terminated()) return 0;
  return app.exec();
}
