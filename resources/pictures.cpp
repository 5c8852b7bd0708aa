#include "resources/pictures.h"

#include <QFile>

#include "resources/resources.h"

namespace resources {
namespace {
QByteArray read(const QString& path) {
  load();
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace

QByteArray programPictureJpeg() { return read(QStringLiteral(":/trevast/pictures/program_icon.jpg")); }
QByteArray historyBackgroundJpeg() { return read(QStringLiteral(":/trevast/pictures/history_background.jpg")); }

DecodedJpeg programPicture() { return decodeJpeg(programPictureJpeg()); }
DecodedJpeg historyBackground() { return decodeJpeg(historyBackgroundJpeg()); }

QString unreadablePictureLine(const QString& controlName, const QString& error) {
  return QStringLiteral("Image %1 illisible : %2").arg(controlName, error);
}
}  // namespace resources
