#include "settings_fixture.h"

#include <QTimer>

Variant FakeObject::invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) {
  if (member == QLatin1String("Link") && kind == InvokeKind::Get) {
    calls << QStringLiteral("Link?");
    return link;
  }
  if (member == QLatin1String("devicetype") && kind == InvokeKind::Put) {
    calls << QStringLiteral("devicetype=") + args.at(0).value.toString();
    return {};
  }
  if (member == QLatin1String("Choose")) {
    const QString by = args.at(0).passing == Passing::Reference ? QStringLiteral("&") : QString();
    calls << QStringLiteral("Choose(%1%2)").arg(by, args.at(0).value.toString());
    if (fail) throw AutomationError(QStringLiteral("DriverHelper.Chooser"), QStringLiteral("Échec"), 7);
    return answers.isEmpty() ? QString() : answers.takeFirst();
  }
  if (member == QLatin1String("Halt") || member == QLatin1String("SetupDialog")) {
    calls << member;
    return {};
  }
  throw unknownMember(member);
}

SettingsFixture::SettingsFixture() {
  form = makeForm(p);
  form->AscomOK = true;
  form3 = std::make_unique<TForm3>();
  Form3 = form3.get();
  about = std::make_unique<TAboutBox>();
  AboutBox = about.get();
  // The same object answers every click; `calls` counts the creations too.
  p.com.registerClass(QStringLiteral("DriverHelper.Chooser"), [c = chooser] {
    c->calls << QStringLiteral("created");
    return c;
  });
}

SettingsFixture::~SettingsFixture() {
  AboutBox = nullptr;
  about.reset();
  form3.reset();
  Form1 = nullptr;
}

std::shared_ptr<FakeObject> SettingsFixture::holdDriver(bool linked) {
  auto driver = std::make_shared<FakeObject>();
  driver->link = linked;
  form->Focuser = AutomationRef(driver);
  form->FocuserExists = true;
  return driver;
}

void SettingsFixture::runSetup(const std::function<void(TForm3&)>& inDialog, bool ok) {
  TForm3* dialog = form3.get();
  QTimer::singleShot(0, dialog, [dialog, inDialog, ok] {
    inDialog(*dialog);
    if (dialog->isVisible()) dialog->done(ok ? QDialog::Accepted : QDialog::Rejected);
  });
  form->BoutonSetup->click();
}

void SettingsFixture::open() {
  form3->hide();
  form3->show();
}
