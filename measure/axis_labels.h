#pragma once
// The left axis of the FWHM history chart: where its graduations go and the
// text of each.
#include <QList>
#include <QString>

// `value` as the format "#,##0.##" writes it: rounded to two decimals, no
// trailing zeros, thousands grouped; a blank groups them and a comma separates
// the decimals under a comma locale, a comma and a point otherwise.
QString etiquetteAxe(double value);

// The ends and graduations of an axis that shows values from `lo` to `hi`:
// multiples of a step of 1, 2 or 5 times a power of ten, never finer than
// 0.01 (the finest a label shows), at most `maxGraduations` of them, the ends
// on the first and the last.
struct EchelleAxe {
  double min = 0.0;
  double max = 1.0;
  double pas = 1.0;
  QList<double> graduations;
};
EchelleAxe echelleAxe(double lo, double hi, int maxGraduations);
