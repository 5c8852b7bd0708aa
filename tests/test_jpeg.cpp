#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include "platform/jpeg.h"
#include "resources/pictures.h"

// Failures show texts as text.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

// The largest difference between two pictures of one size, over every pixel
// and every colour channel.
int largestChannelDifference(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  int largest = 0;
  for (int row = 0; row < x.height(); ++row)
    for (int col = 0; col < x.width(); ++col) {
      const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
      largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))});
    }
  return largest;
}

void expectSameAsQtDecoder(const QByteArray& bytes) {
  const DecodedJpeg ours = decodeJpeg(bytes);
  const QImage qts = QImage::fromData(bytes, "JPEG");
  ASSERT_FALSE(ours.image.isNull()) << ours.error.toStdString();
  ASSERT_FALSE(qts.isNull());
  ASSERT_EQ(ours.image.size(), qts.size());
  EXPECT_LE(largestChannelDifference(ours.image, qts), 1);
}

QByteArray encodeJpeg(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(90);
  EXPECT_TRUE(writer.write(image));
  return bytes;
}

QImage testCard(QImage::Format format) {
  QImage image(48, 40, format);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 5, y * 6, (x * y) % 256));
  return image;
}

}  // namespace

TEST(JpegDecoder, QtsOwnJpegReaderIsThereToCompareWith) {
  EXPECT_TRUE(QImageReader::supportedImageFormats().contains("jpeg"));
}

TEST(JpegDecoder, BothPicturesDecodeAsQtsReaderDecodesThem) {
  expectSameAsQtDecoder(resources::programPictureJpeg());
  expectSameAsQtDecoder(resources::historyBackgroundJpeg());
  EXPECT_EQ(resources::programPicture().image.size(), QSize(65, 57));
  EXPECT_FALSE(resources::historyBackground().image.isNull());
}

TEST(JpegDecoder, GreyPictureDecodesAsQtsReaderDecodesIt) {
  expectSameAsQtDecoder(encodeJpeg(testCard(QImage::Format_RGB32).convertToFormat(QImage::Format_Grayscale8)));
}

TEST(JpegDecoder, CorruptHeaderGivesNoImageAndLibjpegsMessage) {
  const DecodedJpeg decoded = decodeJpeg(QByteArray("XX this is no picture"));
  EXPECT_TRUE(decoded.image.isNull());
  EXPECT_EQ(decoded.error, QStringLiteral("Not a JPEG file: starts with 0x58 0x58"));
}

TEST(JpegDecoder, EmptyOrHeaderOnlyBytesGiveNoImageAndAMessage) {
  const QByteArray whole = encodeJpeg(testCard(QImage::Format_RGB32));
  for (const QByteArray& bytes : {QByteArray(), whole.left(2), whole.left(60)}) {
    const DecodedJpeg decoded = decodeJpeg(bytes);
    EXPECT_TRUE(decoded.image.isNull()) << bytes.size();
    EXPECT_FALSE(decoded.error.isEmpty()) << bytes.size();
  }
}

TEST(JpegDecoder, FileCutShortInItsDataStillGivesTheWholePicture) {
  const QByteArray whole = encodeJpeg(testCard(QImage::Format_RGB32));
  const DecodedJpeg decoded = decodeJpeg(whole.left(whole.size() * 3 / 4));
  EXPECT_EQ(decoded.image.size(), QSize(48, 40));
  EXPECT_TRUE(decoded.error.isEmpty());
}

TEST(JpegDecoder, HeaderClaimingAHugePictureIsRefused) {
  QByteArray bytes = encodeJpeg(testCard(QImage::Format_RGB32));
  // The frame header (SOF0): marker, length, precision, then height and width.
  const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
  ASSERT_GT(sof, 0);
  bytes[sof + 5] = char(0xEA), bytes[sof + 6] = char(0x60);  // height 60000
  bytes[sof + 7] = char(0xEA), bytes[sof + 8] = char(0x60);  // width 60000
  const DecodedJpeg decoded = decodeJpeg(bytes);
  EXPECT_TRUE(decoded.image.isNull());
  EXPECT_EQ(decoded.error, QStringLiteral("Image JPEG trop grande (60000 x 60000 pixels)"));
}
