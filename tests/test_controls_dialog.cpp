#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/controls_dialog.h"
#include "platform/number_format.h"

namespace {

struct UpDownPair {
  QWidget parent;
  QLineEdit* edit = new QLineEdit(&parent);
  TUpDown* upDown = new TUpDown(&parent, edit, 0, 10, 1, 2);
};

}  // namespace

TEST(UpDown, ShowsItsPositionAndBringsAValueIntoItsRange) {
  UpDownPair u;
  EXPECT_EQ(u.edit->text(), "2");
  u.upDown->setPosition(25);
  EXPECT_EQ(u.upDown->Position(), 10);
  EXPECT_EQ(u.edit->text(), "10");
  u.upDown->setPosition(-3);
  EXPECT_EQ(u.upDown->Position(), 0);
  EXPECT_EQ(u.edit->text(), "0");
}

TEST(UpDown, TypedWholeNumberWithinTheRangeBecomesThePosition) {
  UpDownPair u;
  u.edit->clear();
  QTest::keyClicks(u.edit, "7");
  EXPECT_EQ(u.upDown->Position(), 7);
}

TEST(UpDown, TypedTextItDoesNotAcceptLeavesThePosition) {
  UpDownPair u;
  for (const char* typed : {"abc", "11", "-1", "2.5", ""}) {
    u.edit->setText(typed);
    EXPECT_EQ(u.upDown->Position(), 2) << typed;
  }
}

TEST(UpDown, ArrowsStepFromTheTypedValueWithinTheRangeAndReportTheClick) {
  UpDownPair u;
  QSignalSpy clicks(u.upDown, &TUpDown::OnClick);
  u.edit->setText("9");
  u.upDown->clickArrow(TUpDown::Bouton::Next);
  u.upDown->clickArrow(TUpDown::Bouton::Next);
  EXPECT_EQ(u.upDown->Position(), 10);
  EXPECT_EQ(u.edit->text(), "10");
  EXPECT_EQ(clicks.count(), 2);
  u.upDown->setPosition(0);
  u.upDown->clickArrow(TUpDown::Bouton::Prev);
  EXPECT_EQ(u.upDown->Position(), 0);
}

TEST(SpinEdit, ValueIsTheTextBroughtIntoTheRangeAndNoNumberCountsAsTheLowest) {
  QWidget parent;
  TSpinEdit spin(&parent, 20, 40, 2, 20);
  spin.setText("5");
  EXPECT_EQ(spin.Value(), 20);
  spin.setText("50");
  EXPECT_EQ(spin.Value(), 40);
  spin.setText("33");
  EXPECT_EQ(spin.Value(), 33);
  spin.setText("");
  EXPECT_EQ(spin.Value(), 20);
  spin.setText("3x");
  EXPECT_EQ(spin.Value(), 20);
}

TEST(SpinEdit, ArrowsStepByTheIncrementWithinTheRange) {
  QWidget parent;
  TSpinEdit spin(&parent, 20, 40, 2, 37);
  spin.stepBy(+1);
  EXPECT_EQ(spin.text(), "39");
  spin.stepBy(+1);
  EXPECT_EQ(spin.text(), "40");
  spin.setValue(21);
  spin.stepBy(-1);
  EXPECT_EQ(spin.text(), "20");
  spin.stepBy(-1);
  EXPECT_EQ(spin.text(), "20");
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

TEST(SpinEdit, LeavingTheBoxBringsItsTextIntoTheRange) {
  QWidget window;
  auto* spin = new TSpinEdit(&window, 20, 40, 2, 20);
  auto* other = new QLineEdit(&window);
  window.show();
  QApplication::setActiveWindow(&window);
  spin->setFocus();
  spin->setText("50");
  other->setFocus();
  EXPECT_EQ(spin->text(), "40");
}
