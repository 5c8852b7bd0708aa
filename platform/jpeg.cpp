#include "platform/jpeg.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs size_t and FILE declared before it

#include <jpeglib.h>
#include <jerror.h>  // the warning codes and WARNMS, for the memory source

namespace {

// Qt's own readers refuse pictures above this size; so do we, rather than
// reserve gigabytes for a header that claims a huge picture.
constexpr qsizetype kLargestDecodedBytes = 256 * 1024 * 1024;

// libjpeg ends a fatal error by calling error_exit, which must not return:
// ours keeps the message and jumps back into decodeInto().
struct ErrorManager {
  jpeg_error_mgr pub;  // first member: libjpeg knows only this part
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings (a file cut short, a damaged restart marker) are not printed: the
// picture is still shown as far as it could be decoded.
void silentMessage(j_common_ptr) {}

// A source over bytes that are all in memory from the start.
struct MemorySource {
  jpeg_source_mgr pub;  // first member, as for the error manager
  JOCTET endOfImage[2];
};

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

// Asked for more only once the bytes have run out, so the file is cut short.
// Feeding an end-of-image marker makes libjpeg finish with what it has, as
// its own file source does; returning FALSE would make it wait for data that
// never comes.
boolean fillInputBuffer(j_decompress_ptr cinfo) {
  auto* src = reinterpret_cast<MemorySource*>(cinfo->src);
  WARNMS(cinfo, JWRN_JPEG_EOF);
  src->endOfImage[0] = 0xFF;
  src->endOfImage[1] = JPEG_EOI;
  src->pub.next_input_byte = src->endOfImage;
  src->pub.bytes_in_buffer = 2;
  return TRUE;
}

void skipInputData(j_decompress_ptr cinfo, long count) {
  jpeg_source_mgr* src = cinfo->src;
  if (count <= 0) return;
  if (static_cast<size_t>(count) >= src->bytes_in_buffer) {
    src->next_input_byte += src->bytes_in_buffer;
    src->bytes_in_buffer = 0;  // the next read finds the end
    return;
  }
  src->next_input_byte += count;
  src->bytes_in_buffer -= static_cast<size_t>(count);
}

// Every libjpeg call that may end in errorExit() runs between the setjmp and
// the return of this function, whose frame holds no object with a destructor:
// the jump back skips no clean-up. `message` receives the error.
bool decodeInto(const QByteArray& bytes, QImage& image, char* message) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  MemorySource source;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = errorExit;
  err.pub.output_message = silentMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  source.pub.init_source = initSource;
  source.pub.fill_input_buffer = fillInputBuffer;
  source.pub.skip_input_data = skipInputData;
  source.pub.resync_to_restart = jpeg_resync_to_restart;
  source.pub.term_source = termSource;
  source.pub.next_input_byte = reinterpret_cast<const JOCTET*>(bytes.constData());
  source.pub.bytes_in_buffer = static_cast<size_t>(bytes.size());
  cinfo.src = &source.pub;

  jpeg_read_header(&cinfo, TRUE);
  // Grey pictures stay grey; libjpeg turns every other kind it can into RGB
  // and refuses, with its own message, those it cannot.
  const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
  cinfo.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_calc_output_dimensions(&cinfo);
  const qsizetype bytesNeeded = qsizetype(cinfo.output_width) * cinfo.output_height * (grey ? 1 : 3);
  if (bytesNeeded > kLargestDecodedBytes) {
    std::snprintf(message, JMSG_LENGTH_MAX, "Image JPEG trop grande (%u x %u pixels)",
                  unsigned(cinfo.output_width), unsigned(cinfo.output_height));
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_start_decompress(&cinfo);
  // Each row of these formats is laid out as libjpeg writes it.
  image = QImage(int(cinfo.output_width), int(cinfo.output_height),
                 grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
  if (image.isNull()) {
    std::snprintf(message, JMSG_LENGTH_MAX, "Mémoire insuffisante pour l'image JPEG");
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = image.scanLine(int(cinfo.output_scanline));
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

DecodedJpeg decodeJpeg(const QByteArray& bytes) {
  DecodedJpeg result;
  QImage image;
  char message[JMSG_LENGTH_MAX] = {};
  if (decodeInto(bytes, image, message))
    result.image = image.convertToFormat(QImage::Format_RGB32);
  else
    result.error = QString::fromUtf8(message);
  return result;
}
