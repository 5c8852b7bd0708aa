#include "app_fixture.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

namespace {

// A close in an earlier test of the same program ends the event loops for
// good (QCoreApplication::exit with no main loop running): every later loop,
// a modal dialog's or a wait's, would return at once. Running the main loop
// for one pass makes them usable again.
void reviveEventLoops() {
  QEventLoop probe;
  QTimer::singleShot(0, &probe, &QEventLoop::quit);
  if (probe.exec() != -1) return;
  QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

}  // namespace

TestPlatform::TestPlatform() : version(std::make_unique<EmbeddedVersionSource>()) {
  services = std::make_unique<PlatformServices>(PlatformServices{
      desktop, time, dialogs, com, registry, *version, folder.path() + QLatin1Char('/')});
  application = std::make_unique<TApplication>(time, dialogs);
  Application = application.get();
  Application->Title = QStringLiteral("Trevast");
  Halt = false;
  ModeFocus.clear();
  reviveEventLoops();
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
