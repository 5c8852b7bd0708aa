#include <gtest/gtest.h>

#include "platform/exception.h"
#include "platform/number_format.h"
#include "qt_printers.h"

using numfmt::FloatFormat;
using numfmt::FloatToStrF;

class NumberFormat : public ::testing::TestWithParam<char> {
 protected:
  void SetUp() override { numfmt::SetDecimalSeparator(QLatin1Char(GetParam())); }
  void TearDown() override { numfmt::SetDecimalSeparator(QLatin1Char('.')); }
  // The expected text with the locale's separator in place of '.'.
  QString loc(const char* text) const { return QString(text).replace('.', QLatin1Char(GetParam())); }
};

TEST_P(NumberFormat, FixedRoundsToThreeSignificantDigitsThenShowsTheDecimals) {
  EXPECT_EQ(numfmt::Fixed3(1.2, 2), loc("1.20"));
  EXPECT_EQ(numfmt::Fixed3(12.345, 2), loc("12.30"));
  EXPECT_EQ(numfmt::Fixed3(1.2345, 2), loc("1.23"));
  EXPECT_EQ(numfmt::Fixed3(4.567, 2), loc("4.57"));
  EXPECT_EQ(numfmt::Fixed3(2 * std::sqrt(1 / M_PI), 1), loc("1.1"));
  EXPECT_EQ(numfmt::Fixed3(99.75, 0), "100");
  EXPECT_EQ(numfmt::Fixed3(200.25, 0), "200");
  EXPECT_EQ(numfmt::Fixed3(99.0, 1), loc("99.0"));
  EXPECT_EQ(numfmt::Fixed3(0.0, 1), loc("0.0"));
  EXPECT_EQ(numfmt::Fixed3(0.005, 2), loc("0.01"));
  EXPECT_EQ(numfmt::Fixed3(-3.14159, 2), loc("-3.14"));
  EXPECT_EQ(numfmt::Fixed3(-0.001, 2), loc("0.00"));
  EXPECT_EQ(numfmt::Fixed3(16.5, 2), loc("16.50"));
}

TEST_P(NumberFormat, FixedBeyondItsPrecisionTurnsScientific) {
  EXPECT_EQ(numfmt::Fixed3(12345.0, 2), loc("1.23E04"));
  EXPECT_EQ(numfmt::Fixed3(999.0, 2), loc("999.00"));
}

TEST_P(NumberFormat, GeneralShowsUpTo15SignificantDigitsWithoutTrailingZeros) {
  EXPECT_EQ(numfmt::FloatToStr(4.0), "4");
  EXPECT_EQ(numfmt::FloatToStr(3.9), loc("3.9"));
  EXPECT_EQ(numfmt::FloatToStr(0.1 + 0.2), loc("0.3"));
  EXPECT_EQ(numfmt::FloatToStr(1.0 / 3), loc("0.333333333333333"));
  EXPECT_EQ(numfmt::FloatToStr(2.0 / 3), loc("0.666666666666667"));
  EXPECT_EQ(numfmt::FloatToStr(1e20), "1E20");
  EXPECT_EQ(numfmt::FloatToStr(1.5e-7), loc("1.5E-7"));
}

TEST_P(NumberFormat, StrToFloatTakesOnlyTheLocalesSeparator) {
  EXPECT_DOUBLE_EQ(numfmt::StrToFloat(loc(" 1.5 ")), 1.5);
  EXPECT_DOUBLE_EQ(numfmt::StrToFloat(loc("-2.5e1")), -25.0);
  EXPECT_DOUBLE_EQ(numfmt::StrToFloat("7"), 7.0);
  const QString other = GetParam() == ',' ? "1.2" : "1,2";
  for (const QString& bad : {QString(), other, QString("abc"), QString("1e"), QString(loc("."))}) {
    try {
      numfmt::StrToFloat(bad);
      ADD_FAILURE() << "accepted: " << bad.toStdString();
    } catch (const Exception& e) {
      EXPECT_EQ(e.message(), "'" + bad + QString::fromUtf8("' n'est pas une valeur en virgule flottante correcte"));
    }
  }
}

TEST_P(NumberFormat, AStoredNumberReadsWithEitherSeparator) {
  double v = 0;
  EXPECT_TRUE(numfmt::TryStrToStoredFloat("1,20", v));
  EXPECT_DOUBLE_EQ(v, 1.2);
  EXPECT_TRUE(numfmt::TryStrToStoredFloat("1.20", v));
  EXPECT_DOUBLE_EQ(v, 1.2);
  EXPECT_FALSE(numfmt::TryStrToStoredFloat("", v));
  EXPECT_FALSE(numfmt::TryStrToStoredFloat("1,2.3", v));
}

INSTANTIATE_TEST_SUITE_P(CommaAndPoint, NumberFormat, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "Comma" : "Point"; });
