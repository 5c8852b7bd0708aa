#include "settings_fixture.h"

#include <QTimer>

#include "platform/controls.h"

Variant FakeDriver::invoke(const QString& member, InvokeKind kind, std::vector<Arg>&) {
  if (member.compare(QLatin1String("Link"), Qt::CaseInsensitive) == 0 && kind == InvokeKind::Get) {
    calls << QStringLiteral("Link?");
    return link;
  }
  if (member.compare(QLatin1String("Halt"), Qt::CaseInsensitive) == 0 ||
      member.compare(QLatin1String("SetupDialog"), Qt::CaseInsensitive) == 0) {
    calls << member;
    return {};
  }
  throw unknownMember(member);
}

namespace {
class FakeChooser : public Dispatch {
 public:
  explicit FakeChooser(std::shared_ptr<ChooserScript> s) : s_(std::move(s)) {}
  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) override {
    if (member == QLatin1String("devicetype") && kind == InvokeKind::Put) {
      s_->calls << QStringLiteral("devicetype=") + args.at(0).value.toString();
      return {};
    }
    if (member == QLatin1String("Choose") && kind == InvokeKind::Method) {
      const QString by = args.at(0).passing == Passing::Reference ? QStringLiteral("&") : QString();
      s_->calls << QStringLiteral("Choose(%1%2)").arg(by, args.at(0).value.toString());
      if (s_->failChoose) throw AutomationError(QStringLiteral("DriverHelper.Chooser"), QStringLiteral("Échec"), 7);
      return s_->answers.isEmpty() ? QString() : s_->answers.takeFirst();
    }
    throw unknownMember(member);
  }

 private:
  std::shared_ptr<ChooserScript> s_;
};
}  // namespace

void registerChooser(ComRegistry& com, std::shared_ptr<ChooserScript> script) {
  com.registerClass(QStringLiteral("DriverHelper.Chooser"), [script] {
    ++script->created;
    return std::make_shared<FakeChooser>(script);
  });
}

SettingsFixture::SettingsFixture() {
  form = makeForm(p);
  form->AscomOK = true;
  form3 = std::make_unique<TForm3>();
  Form3 = form3.get();
  about = std::make_unique<TAboutBox>();
  AboutBox = about.get();
}

SettingsFixture::~SettingsFixture() {
  AboutBox = nullptr;
  about.reset();
  form3.reset();
  Form1 = nullptr;
}

std::shared_ptr<FakeDriver> SettingsFixture::holdDriver(bool linked) {
  auto driver = std::make_shared<FakeDriver>();
  driver->link = linked;
  form->Focuser = AutomationRef(driver);
  form->FocuserExists = true;
  return driver;
}

void SettingsFixture::runSetup(const std::function<void(TForm3&)>& inDialog, bool ok) {
  TForm3* dialog = form3.get();
  QTimer::singleShot(0, dialog, [dialog, inDialog, ok] {
    inDialog(*dialog);
    dialog->done(ok ? QDialog::Accepted : QDialog::Rejected);
  });
  form->BoutonSetup->click();
}

void SettingsFixture::open() {
  form3->hide();
  form3->show();
}
