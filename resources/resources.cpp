#include "resources/resources.h"

#include <QFile>
#include <QtGlobal>

static void initTrevastResources() { Q_INIT_RESOURCE(resources); }

namespace resources {
void load() {
  static const bool done = (initTrevastResources(), true);
  (void)done;
}

QByteArray versionBlock() {
  load();
  QFile file(QStringLiteral(":/trevast/version.blk"));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace resources
