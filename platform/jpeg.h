#pragma once
// JPEG pictures decoded with libjpeg (decompression only).
#include <QByteArray>
#include <QImage>
#include <QString>

struct DecodedJpeg {
  QImage image;   // RGB32; null when the bytes could not be decoded
  QString error;  // libjpeg's message when they could not
};

// Decodes a whole JPEG file held in memory. A file that libjpeg refuses ends
// the decoding, never the program: the result then has no image and the error.
// A file cut short decodes as far as it goes, as libjpeg does.
DecodedJpeg decodeJpeg(const QByteArray& bytes);
