#pragma once
// The main window with the settings dialog and the about box, as the program
// block makes them, and fake automation objects for the dialog's tests.
#include <QStringList>
#include <functional>
#include <memory>
#include <ostream>

#include "app/Unit2.h"
#include "app_fixture.h"
#include "platform/automation.h"
#include "settings_dialog/Unit3.h"

// Readable texts in the failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// A focuser driver that records the members called on it.
class FakeDriver : public Dispatch {
 public:
  bool link = true;
  QStringList calls;  // "Link?", "Halt", "SetupDialog"
  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) override;
};

// "DriverHelper.Chooser": records what it is told and answers from a script,
// or raises an automation error.
struct ChooserScript {
  QStringList calls;       // "devicetype=Focuser", "Choose(<current>)"
  QStringList answers;     // one per Choose; "" cancels
  bool failChoose = false;
  int created = 0;
};
void registerChooser(ComRegistry& com, std::shared_ptr<ChooserScript> script);

struct SettingsFixture {
  // A first-shown main window whose platform was found (AscomOK true).
  SettingsFixture();
  ~SettingsFixture();

  TestPlatform p;
  std::unique_ptr<TForm1> form;
  std::unique_ptr<TForm3> form3;
  std::unique_ptr<TAboutBox> about;

  // Gives the main window a driver object.
  std::shared_ptr<FakeDriver> holdDriver(bool linked = true);
  // Clicks the setup button; `inDialog` acts in the open dialog, which then
  // closes with OK (`ok`) or Cancel.
  void runSetup(const std::function<void(TForm3&)>& inDialog, bool ok);
  // Opens the dialog without its modal loop, as its show does.
  void open();
};
