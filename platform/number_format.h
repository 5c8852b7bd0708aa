#pragma once
// Number texts as the window framework writes and reads them, with the decimal
// separator of the user's locale (a comma under French settings).
#include <QChar>
#include <QString>

namespace numfmt {

// The separator in use: the user's locale at start-up; tests set it.
QChar DecimalSeparator();
void SetDecimalSeparator(QChar separator);
void UseSystemLocale();

enum class FloatFormat { General, Fixed };

// Fixed: rounded to `precision` significant digits and shown with exactly
// `digits` decimals (4.567 with 3, 2 gives "4,57"; 12.345 gives "12,30"); a
// number with more than `precision` digits before the separator comes out in
// the general format's scientific form. General: up to `precision` significant
// digits without trailing zeros, scientific from 10^precision and below 1e-5,
// the exponent written with at least `digits` digits.
QString FloatToStrF(double value, FloatFormat format, int precision, int digits);
// General format with 15 significant digits.
QString FloatToStr(double value);
// The program's usual display: fixed, 3 significant digits, `decimals` decimals.
inline QString Fixed3(double value, int decimals) {
  return FloatToStrF(value, FloatFormat::Fixed, 3, decimals);
}

// An optional sign, digits with at most one `separator`, an optional exponent,
// blanks around; false for anything else.
bool TryStrToFloat(const QString& text, double& value, QChar separator);
// With the locale's separator; throws the framework's conversion error
// "'<text>' n'est pas une valeur en virgule flottante correcte".
double StrToFloat(const QString& text);
// A stored number, read with the locale's separator or else the other one, so a
// file carried between a comma and a point locale reads as the number it holds.
bool TryStrToStoredFloat(const QString& text, double& value);
// The conversion error's message for `text`.
QString ConversionErrorMessage(const QString& text);

}  // namespace numfmt
