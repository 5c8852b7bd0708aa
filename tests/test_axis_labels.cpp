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

TEST(EtiquetteAxe, WritesUpToTwoDecimalsWithoutTrailingZerosAndGroupsThousandsAsTheLocaleDoes) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  EXPECT_EQ(labels({3, 3.2, 3.256, 0.125, 1234.5, 1234567.891, 999.999, -2.5, -0.004}),
            QStringList({"3", "3,2", "3,26", "0,13", "1 234,5", "1 234 567,89", "1 000", "-2,5", "0"}));
  numfmt::SetDecimalSeparator(QLatin1Char('.'));
  EXPECT_EQ(labels({3.25, 1234567.891, 0.1 + 0.2}), QStringList({"3.25", "1,234,567.89", "0.3"}));
  EXPECT_EQ(etiquetteAxe(std::numeric_limits<double>::quiet_NaN()), QString());
}

TEST(EchelleAxe, TheStepIsTheFinestOfOneTwoOrFiveTimesAPowerOfTenThatKeepsWithinTheGraduations) {
  const EchelleAxe e = echelleAxe(3.38, 5.17, 4);
  EXPECT_EQ(e.graduations, QList<double>({3, 4, 5, 6}));
  EXPECT_EQ(e.min, 3.0);
  EXPECT_EQ(e.max, 6.0);
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  EXPECT_EQ(labels(echelleAxe(3.2, 3.3, 4).graduations), QStringList({"3,2", "3,25", "3,3"}));
  EXPECT_EQ(echelleAxe(44, 0, 4).graduations, QList<double>({0, 20, 40, 60}));
}

TEST(EchelleAxe, NeverFinerThanAHundredthAndASingleValueLiesBetweenGraduations) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  EXPECT_EQ(labels(echelleAxe(2.001, 2.004, 4).graduations), QStringList({"2", "2,01"}));
  EXPECT_EQ(labels(echelleAxe(5.171, 5.171, 4).graduations), QStringList({"5,17", "5,18"}));
  EXPECT_EQ(labels(echelleAxe(3, 3, 2).graduations), QStringList({"2,99", "3", "3,01"}));
}

TEST(EchelleAxe, HugeOrMissingValuesStillGiveAFewGraduations) {
  EXPECT_LE(echelleAxe(0, 1e300, 4).graduations.size(), 4);
  EXPECT_LE(echelleAxe(1e17, 1e17, 4).graduations.size(), 4);
  EXPECT_EQ(echelleAxe(std::numeric_limits<double>::quiet_NaN(), 1, 4).graduations, QList<double>({0, 1}));
}
