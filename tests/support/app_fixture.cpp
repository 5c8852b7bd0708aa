#include "app_fixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include "resources/resources.h"

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
  // A close asks every event loop to end, and Qt then ends each new one at
  // once until a main loop has run: one short main loop here lets the next
  // test of the same process run its dialogs and waits.
  if (application->Terminated()) {
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
  }
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
