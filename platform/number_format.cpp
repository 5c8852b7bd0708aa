#include "platform/number_format.h"

#include <QLocale>
#include <cmath>

#include "platform/exception.h"

namespace numfmt {
namespace {

QChar gSeparator = QLatin1Char('.');

// A finite number as 18 significant decimal digits and the place of the point:
// value = 0.d1d2d3... x 10^exponent.
struct Decimal {
  bool negative = false;
  QByteArray digits;  // no leading zero unless the value is 0
  int exponent = 0;
};

Decimal toDecimal(double value) {
  Decimal d;
  d.negative = std::signbit(value);
  if (value == 0) {
    d.digits = "0";
    d.exponent = 1;
    return d;
  }
  // Qt's conversions ignore the C locale, which the application sets from the
  // user's settings.
  const QByteArray text = QByteArray::number(std::fabs(value), 'e', 17);
  const int e = text.indexOf('e');
  d.digits = text.left(e).replace(".", "");
  d.exponent = text.mid(e + 1).toInt() + 1;
  return d;
}

// Keeps `count` significant digits, rounding half up; count may be 0 or less.
void roundTo(Decimal& d, int count) {
  if (count >= d.digits.size()) return;
  if (count < 0) {
    d.digits = "0";
    return;
  }
  const bool up = d.digits[count] >= '5';
  d.digits.truncate(count);
  if (up) {
    int i = count - 1;
    while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
    if (i >= 0) {
      d.digits[i] = d.digits[i] + 1;
    } else {
      d.digits.prepend('1');
      d.exponent += 1;
    }
  }
  while (d.digits.size() > 1 && d.digits.endsWith('0')) d.digits.chop(1);
  if (d.digits.isEmpty()) d.digits = "0";
}

bool isZero(const Decimal& d) { return d.digits == "0" || d.digits.isEmpty(); }

QString formatGeneral(Decimal d, int precision, int expDigits) {
  roundTo(d, precision);
  while (d.digits.size() > 1 && d.digits.endsWith('0')) d.digits.chop(1);
  QString out = d.negative && !isZero(d) ? QStringLiteral("-") : QString();
  if (isZero(d)) return QStringLiteral("0");
  if (d.exponent > precision || d.exponent < -3) {
    out += QLatin1Char(d.digits[0]);
    if (d.digits.size() > 1) out += gSeparator + QString::fromLatin1(d.digits.mid(1));
    const int e = d.exponent - 1;
    out += QLatin1Char('E');
    if (e < 0) out += QLatin1Char('-');
    out += QString::number(std::abs(e)).rightJustified(std::clamp(expDigits, 0, 4), QLatin1Char('0'));
    return out;
  }
  if (d.exponent <= 0) {
    out += QLatin1Char('0') + QString(gSeparator) + QString(-d.exponent, QLatin1Char('0')) +
           QString::fromLatin1(d.digits);
    return out;
  }
  const QByteArray intPart = d.digits.left(d.exponent).leftJustified(d.exponent, '0');
  out += QString::fromLatin1(intPart);
  if (d.digits.size() > d.exponent) out += gSeparator + QString::fromLatin1(d.digits.mid(d.exponent));
  return out;
}

QString formatFixed(Decimal d, int precision, int decimals) {
  const Decimal original = d;
  roundTo(d, std::min(precision, d.exponent + decimals));
  if (d.exponent > precision) return formatGeneral(original, precision, decimals);
  QString out = d.negative && !isZero(d) ? QStringLiteral("-") : QString();
  auto digitAt = [&](int i) { return i >= 0 && i < d.digits.size() && !isZero(d) ? QLatin1Char(d.digits[i]) : QLatin1Char('0'); };
  if (d.exponent <= 0 || isZero(d)) {
    out += QLatin1Char('0');
  } else {
    for (int i = 0; i < d.exponent; ++i) out += digitAt(i);
  }
  if (decimals > 0) {
    out += gSeparator;
    for (int i = 0; i < decimals; ++i) out += digitAt(d.exponent + i);
  }
  return out;
}

}  // namespace

QChar DecimalSeparator() { return gSeparator; }
void SetDecimalSeparator(QChar separator) { gSeparator = separator; }
void UseSystemLocale() { gSeparator = QLocale::system().decimalPoint().at(0); }

QString FloatToStrF(double value, FloatFormat format, int precision, int digits) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  precision = std::clamp(precision, 1, 18);
  const Decimal d = toDecimal(value);
  return format == FloatFormat::Fixed ? formatFixed(d, precision, std::clamp(digits, 0, 18))
                                      : formatGeneral(d, precision, digits);
}

QString FloatToStr(double value) { return FloatToStrF(value, FloatFormat::General, 15, 0); }

bool TryStrToFloat(const QString& text, double& value, QChar separator) {
  const QString t = text.trimmed();
  QByteArray plain;
  int i = 0;
  auto digits = [&]() {
    int n = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
      plain += char(t[i].unicode());
      ++i;
      ++n;
    }
    return n;
  };
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) plain += char(t[i++].unicode());
  int mantissa = digits();
  if (i < t.size() && t[i] == separator) {
    plain += '.';
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) plain += char(t[i++].unicode());
    if (digits() == 0) return false;
  }
  if (i != t.size()) return false;
  bool ok = false;
  value = plain.toDouble(&ok);
  return ok && std::isfinite(value);
}

QString ConversionErrorMessage(const QString& text) {
  return QStringLiteral("'%1' n'est pas une valeur en virgule flottante correcte").arg(text);
}

double StrToFloat(const QString& text) {
  double value = 0;
  if (!TryStrToFloat(text, value, gSeparator)) throw Exception(ConversionErrorMessage(text));
  return value;
}

bool TryStrToStoredFloat(const QString& text, double& value) {
  const QChar other = gSeparator == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
  return TryStrToFloat(text, value, gSeparator) || TryStrToFloat(text, value, other);
}

}  // namespace numfmt
