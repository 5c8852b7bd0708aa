#include "measure/axis_labels.h"

#include <algorithm>
#include <cmath>

#include "platform/number_format.h"

namespace {

// A label shows two decimals at most, so a finer step would repeat labels.
constexpr double kPasMin = 0.01;

// Quotients a hair off a whole number are that number, so that 0.3 / 0.1
// counts as 3 graduations, not 2.
constexpr double kJeu = 1e-9;

QChar separateurMilliers() {
  return numfmt::DecimalSeparator() == QLatin1Char(',') ? QLatin1Char(' ') : QLatin1Char(',');
}

}  // namespace

QString etiquetteAxe(double value) {
  if (!std::isfinite(value)) return QString();
  const QString fixe = QString::number(std::abs(value), 'f', 2);
  const qsizetype point = fixe.indexOf(QLatin1Char('.'));
  QString texte = fixe.left(point);
  for (qsizetype i = texte.size() - 3; i > 0; i -= 3) texte.insert(i, separateurMilliers());
  QString decimales = fixe.mid(point + 1);
  while (decimales.endsWith(QLatin1Char('0'))) decimales.chop(1);
  if (!decimales.isEmpty()) texte += numfmt::DecimalSeparator() + decimales;
  // A value that rounds to zero is written "0", without a sign.
  if (value < 0 && fixe != QLatin1String("0.00")) texte.prepend(QLatin1Char('-'));
  return texte;
}

EchelleAxe echelleAxe(double lo, double hi, int maxGraduations) {
  EchelleAxe e;
  if (!std::isfinite(lo) || !std::isfinite(hi)) {
    e.graduations = {e.min, e.max};
    return e;
  }
  if (lo > hi) std::swap(lo, hi);
  // A single value sits between two graduations, so three must be allowed.
  maxGraduations = std::max(maxGraduations, 3);
  for (double decade = kPasMin; std::isfinite(decade); decade *= 10) {
    for (double multiple : {1.0, 2.0, 5.0}) {
      const double pas = multiple * decade;
      double premier = std::floor(lo / pas + kJeu);
      double dernier = std::ceil(hi / pas - kJeu);
      if (premier >= dernier) {
        premier -= 1;
        dernier += 1;
      }
      if (dernier - premier + 1 > maxGraduations) continue;
      e.pas = pas;
      e.min = premier * pas;
      e.max = dernier * pas;
      const int nombre = static_cast<int>(dernier - premier) + 1;
      for (int i = 0; i < nombre; ++i) e.graduations.append((premier + i) * pas);
      return e;
    }
  }
  e.min = lo;
  e.max = hi;
  e.graduations = {lo, hi};
  return e;
}
