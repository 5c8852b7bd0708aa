#include <QTest>
#include <gtest/gtest.h>

#include "platform/controls_dialog.h"
#include "platform/number_format.h"

TEST(UpDown, TakesTypedWholeNumbersWithinItsRangeOnlyAndStepsFromThem) {
  QWidget parent;
  auto* edit = new QLineEdit(&parent);
  TUpDown upDown(&parent, edit, 0, 10, 1, 2);
  for (const char* refused : {"abc", "11", "-1", "2.5", ""}) {
    edit->setText(refused);
    EXPECT_EQ(upDown.Position(), 2) << refused;
  }
  edit->setText("9");
  upDown.clickArrow(TUpDown::Bouton::Next);
  upDown.clickArrow(TUpDown::Bouton::Next);
  EXPECT_EQ(edit->text(), "10");
}

TEST(SpinEdit, TakesOnlyDigitsSignsAndTheDecimalSeparatorAsTypedCharacters) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  QWidget parent;
  TSpinEdit spin(&parent, 20, 40, 2, 20);
  spin.clear();
  QTest::keyClicks(&spin, "a3-b,.+ 5");
  EXPECT_EQ(spin.text(), "3-,+5");
  numfmt::SetDecimalSeparator(QLatin1Char('.'));
}
