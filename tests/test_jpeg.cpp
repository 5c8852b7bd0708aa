#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include "qt_printers.h"
#include "platform/jpeg.h"
#include "resources/pictures.h"


namespace {

// Our decoding next to Qt's reader: same size, and at most one level apart in
// any channel of any pixel.
void expectSameAsQtsReader(const QByteArray& bytes) {
  ASSERT_TRUE(QImageReader::supportedImageFormats().contains("jpeg"));
  const DecodedJpeg ours = decodeJpeg(bytes);
  const QImage qts = QImage::fromData(bytes, "JPEG").convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(ours.image.size(), qts.size()) << ours.error.toStdString();
  for (int y = 0; y < qts.height(); ++y)
    for (int x = 0; x < qts.width(); ++x) {
      const QRgb p = ours.image.pixel(x, y), q = qts.pixel(x, y);
      ASSERT_LE(std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))}), 1) << x << "," << y;
    }
}

// A 48 x 40 picture encoded by Qt, in colour or in grey.
QByteArray testJpeg(QImage::Format format = QImage::Format_RGB32) {
  QImage image(48, 40, QImage::Format_RGB32);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 48; ++x) image.setPixel(x, y, qRgb(x * 5, y * 6, (x * y) % 256));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter(&buffer, "jpeg").write(image.convertToFormat(format));
  return bytes;
}

}  // namespace

TEST(JpegDecoder, BothPicturesAndAGreyOneDecodeAsQtsReaderDecodesThem) {
  expectSameAsQtsReader(resources::programPictureJpeg());
  expectSameAsQtsReader(resources::historyBackgroundJpeg());
  expectSameAsQtsReader(testJpeg(QImage::Format_Grayscale8));
  EXPECT_EQ(resources::programPicture().image.size(), QSize(65, 57));
}

TEST(JpegDecoder, CorruptHeaderGivesNoImageAndLibjpegsMessage) {
  const DecodedJpeg decoded = decodeJpeg(QByteArray("XX this is no picture"));
  EXPECT_TRUE(decoded.image.isNull());
  EXPECT_EQ(decoded.error, QStringLiteral("Not a JPEG file: starts with 0x58 0x58"));
  for (const QByteArray& bytes : {QByteArray(), testJpeg().left(60)}) {  // nothing, or a header cut short
    EXPECT_TRUE(decodeJpeg(bytes).image.isNull());
    EXPECT_FALSE(decodeJpeg(bytes).error.isEmpty());
  }
}

TEST(JpegDecoder, FileCutShortInItsDataStillGivesTheWholePicture) {
  const QByteArray whole = testJpeg();
  const DecodedJpeg decoded = decodeJpeg(whole.left(whole.size() * 3 / 4));
  EXPECT_EQ(decoded.image.size(), QSize(48, 40));
  EXPECT_TRUE(decoded.error.isEmpty());
}

TEST(JpegDecoder, HeaderClaimingAHugePictureIsRefused) {
  QByteArray bytes = testJpeg();
  // The frame header: marker, length, precision, then height and width.
  const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
  ASSERT_GT(sof, 0);
  bytes.replace(sof + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4));  // 60000 x 60000
  const DecodedJpeg decoded = decodeJpeg(bytes);
  EXPECT_TRUE(decoded.image.isNull());
  EXPECT_EQ(decoded.error, QStringLiteral("Image JPEG trop grande (60000 x 60000 pixels)"));
}
