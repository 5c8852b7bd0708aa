#include <gtest/gtest.h>

#include <limits>

#include "measure/axis_labels.h"
#include "platform/number_format.h"
#include "qt_printers.h"

namespace {

QStringList labels(const QList<double>& values) {
  QStringList out;
  for (double v : values) out << etiquetteAxe(v);
  return out;
}

}  // namespace

TEST(EtiquetteAxe, CommaLocaleGroupsThousandsWithABlankAndDropsTrailingZeros) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  EXPECT_EQ(labels({3, 3.2, 3.25, 3.256, 0.125, 1234.5, 1234567.891, 999.999, 0.3}),
            QStringList({"3", "3,2", "3,25", "3,26", "0,13", "1 234,5", "1 234 567,89", "1 000", "0,3"}));
}

TEST(EtiquetteAxe, PointLocaleGroupsThousandsWithAComma) {
  numfmt::SetDecimalSeparator(QLatin1Char('.'));
  EXPECT_EQ(labels({3.25, 1234.5, 1234567.891, 0.1 + 0.2}), QStringList({"3.25", "1,234.5", "1,234,567.89", "0.3"}));
}

TEST(EtiquetteAxe, NegativeValuesKeepTheirSignUnlessTheyRoundToZero) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  EXPECT_EQ(labels({-2.5, -1234.5, -0.004, -0.0}), QStringList({"-2,5", "-1 234,5", "0", "0"}));
}

TEST(EtiquetteAxe, AValueThatIsNoNumberHasNoLabel) {
  EXPECT_EQ(etiquetteAxe(std::numeric_limits<double>::quiet_NaN()), QString());
  EXPECT_EQ(etiquetteAxe(std::numeric_limits<double>::infinity()), QString());
}

TEST(EchelleAxe, TheStepIsTheFinestOfOneTwoOrFiveThatKeepsWithinTheGraduations) {
  const EchelleAxe fwhm = echelleAxe(3.38, 5.17, 4);
  EXPECT_EQ(fwhm.pas, 1.0);
  EXPECT_EQ(fwhm.graduations, QList<double>({3, 4, 5, 6}));
  EXPECT_EQ(fwhm.min, 3.0);
  EXPECT_EQ(fwhm.max, 6.0);

  const EchelleAxe fin = echelleAxe(3.2, 3.3, 4);
  EXPECT_DOUBLE_EQ(fin.pas, 0.05);
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  EXPECT_EQ(labels(fin.graduations), QStringList({"3,2", "3,25", "3,3"}));

  EXPECT_EQ(echelleAxe(0, 44, 4).graduations, QList<double>({0, 20, 40, 60}));
  EXPECT_EQ(echelleAxe(44, 0, 4).graduations, QList<double>({0, 20, 40, 60}));
}

TEST(EchelleAxe, ASingleValueLiesBetweenTwoGraduationsAHundredthApart) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  EXPECT_EQ(labels(echelleAxe(5.17088, 5.17088, 4).graduations), QStringList({"5,17", "5,18"}));
  // On a graduation itself it gets one below and one above.
  EXPECT_EQ(labels(echelleAxe(3, 3, 4).graduations), QStringList({"2,99", "3", "3,01"}));
  EXPECT_EQ(labels(echelleAxe(0, 0, 2).graduations), QStringList({"-0,01", "0", "0,01"}));
}

TEST(EchelleAxe, ValuesCloserThanAHundredthShareTheFinestStep) {
  const EchelleAxe e = echelleAxe(2.001, 2.004, 4);
  EXPECT_DOUBLE_EQ(e.pas, 0.01);
  EXPECT_EQ(e.graduations.size(), 2);
}

TEST(EchelleAxe, HugeOrMissingValuesStillGiveAFewGraduations) {
  EXPECT_LE(echelleAxe(0, 1e300, 4).graduations.size(), 4);
  EXPECT_LE(echelleAxe(1e17, 1e17, 4).graduations.size(), 4);
  const EchelleAxe rien = echelleAxe(std::numeric_limits<double>::quiet_NaN(), 1, 4);
  EXPECT_EQ(rien.graduations, QList<double>({0, 1}));
}
