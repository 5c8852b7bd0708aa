// Test main: a QApplication (offscreen unless a display is given), and the
// decimal point as separator unless a test sets another. After every test the
// process is put back as the next one expects to find it.
#include <QApplication>
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "platform/number_format.h"

namespace {

class ResetAfterEachTest : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override { resetBetweenTests(); }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  numfmt::SetDecimalSeparator(QLatin1Char('.'));
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ResetAfterEachTest);
  return RUN_ALL_TESTS();
}
