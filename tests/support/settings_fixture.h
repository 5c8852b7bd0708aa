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


// A focuser driver or a "DriverHelper.Chooser": records each member called
// ("Link?", "Halt", "SetupDialog", "devicetype=Focuser", "Choose(&<current>)")
// and answers Choose from `answers` ("" cancels), or raises when `fail`.
class FakeObject : public Dispatch {
 public:
  bool link = true;
  bool fail = false;
  QStringList answers;
  QStringList calls;
  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) override;
};

struct SettingsFixture {
  // A first-shown main window whose platform was found (AscomOK true).
  SettingsFixture();
  ~SettingsFixture();

  TestPlatform p;
  std::unique_ptr<TForm1> form;
  std::unique_ptr<TForm3> form3;
  std::unique_ptr<TAboutBox> about;
  std::shared_ptr<FakeObject> chooser = std::make_shared<FakeObject>();  // registered, one per click

  // Gives the main window a driver object.
  std::shared_ptr<FakeObject> holdDriver(bool linked = true);
  // Clicks the setup button; `inDialog` acts in the open dialog, which then
  // closes with OK (`ok`) or Cancel unless `inDialog` closed it.
  void runSetup(const std::function<void(TForm3&)>& inDialog, bool ok);
  // Opens the dialog without its modal loop.
  void open();
};
