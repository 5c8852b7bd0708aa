#pragma once
// The two JPEG pictures in the program's resources: the about box's picture
// and the background of the FWHM history chart, drawn tiled.
#include <QByteArray>
#include <QString>

#include "platform/jpeg.h"

namespace resources {
// The stored JPEG bytes.
QByteArray programPictureJpeg();
QByteArray historyBackgroundJpeg();

// The pictures decoded with libjpeg; no image and libjpeg's message when the
// bytes cannot be decoded.
DecodedJpeg programPicture();
DecodedJpeg historyBackground();

// The debug memo's line for a picture that could not be decoded.
QString unreadablePictureLine(const QString& controlName, const QString& error);
}  // namespace resources
