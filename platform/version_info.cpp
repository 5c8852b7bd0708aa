#include "platform/version_info.h"

#include <QList>

bool queryVersionValue(const QByteArray& block, const QString& path, QString& value) {
  QString wanted = path;
  while (wanted.startsWith(QLatin1Char('\\'))) wanted.remove(0, 1);
  for (const QByteArray& raw : block.split('\n')) {
    const QString line = QString::fromUtf8(raw).trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) continue;
    if (line.left(eq).trimmed().compare(wanted, Qt::CaseInsensitive) == 0) {
      value = line.mid(eq + 1).trimmed();
      return true;
    }
  }
  return false;
}
