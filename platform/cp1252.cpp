#include "platform/cp1252.h"

namespace {
// 0x80..0x9F; 0 marks the five codes the code page leaves undefined, which
// Windows maps to the C1 control of the same number.
constexpr char16_t kHighHalf[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t toUnicode(unsigned char b) {
  if (b >= 0x80 && b < 0xA0 && kHighHalf[b - 0x80] != 0) return kHighHalf[b - 0x80];
  return b;
}
}  // namespace

namespace cp1252 {

QString decode(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  for (char c : bytes) out.append(QChar(toUnicode(static_cast<unsigned char>(c))));
  return out;
}

QByteArray encode(const QString& text) {
  QByteArray out;
  out.reserve(text.size());
  for (QChar qc : text) {
    const char16_t u = qc.unicode();
    if (u < 0x80 || (u >= 0xA0 && u < 0x100) || (u >= 0x80 && u < 0xA0 && kHighHalf[u - 0x80] == 0)) {
      out.append(static_cast<char>(u));
      continue;
    }
    char mapped = '?';
    for (int i = 0; i < 32; ++i)
      if (kHighHalf[i] == u) mapped = static_cast<char>(0x80 + i);
    out.append(mapped);
  }
  return out;
}

}  // namespace cp1252
