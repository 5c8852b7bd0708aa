#include "app_fixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include "app/Unit2.h"
#include "platform/number_format.h"
#include "resources/resources.h"
#include "settings_dialog/Unit3.h"

TestPlatform::TestPlatform() : version(std::make_unique<FixedVersionSource>(resources::versionBlock())) {
  services = std::make_unique<PlatformServices>(PlatformServices{
      desktop, time, dialogs, com, registry, *version, folder.path() + QLatin1Char('/')});
  application = std::make_unique<TApplication>(time, dialogs);
  Application = application.get();
  Application->Title = QStringLiteral("Trevast");
  Halt = false;
  ModeFocus.clear();
}

TestPlatform::~TestPlatform() {
  if (Application == application.get()) Application = nullptr;
  xCanvasBureau.reset();
  xHDCBureau = nullptr;
  xHBureau = nullptr;
}

void TestPlatform::writeIni(const QByteArray& bytes) const {
  QFile f(iniPath());
  f.open(QIODevice::WriteOnly);
  f.write(bytes);
}

QByteArray TestPlatform::readIni() const {
  QFile f(iniPath());
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::unique_ptr<TForm1> makeForm(TestPlatform& platform, bool show) {
  auto form = std::make_unique<TForm1>(*platform.services);
  Form1 = form.get();
  guarded([&] { form->FormCreate(); });
  if (show) form->show();
  return form;
}

void resetBetweenTests() {
  Application = nullptr;
  Form1 = nullptr;
  Form3 = nullptr;
  AboutBox = nullptr;
  Halt = false;
  ModeFocus.clear();
  OrigX = OrigY = 0;
  OldX = OldY = 0;
  IsFirstTime = false;
  xCanvasBureau.reset();
  xHDCBureau = nullptr;
  xHBureau = nullptr;
  numfmt::SetDecimalSeparator(QLatin1Char('.'));

  // After QCoreApplication::exit every nested loop returns at once until the
  // main loop runs again: it is run and left, which delivers what is still
  // posted and clears that state. Deletions asked outside any loop follow.
  QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
