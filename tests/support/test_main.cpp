// Test main: a QApplication (offscreen unless a display is given), and the
// decimal point as separator unless a test sets another.
#include <QApplication>
#include <gtest/gtest.h>

#include "platform/number_format.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  numfmt::SetDecimalSeparator(QLatin1Char('.'));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
