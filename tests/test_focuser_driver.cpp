#include <gtest/gtest.h>

#include <QStringList>
#include <functional>
#include <memory>

#include "focuser/focuser_driver.h"
#include "qt_printers.h"

namespace {

// Notes each call as "<member> <get|put|call>[ <value> by <value|reference|variant>]"; answers 1000 to all.
struct NotingDriver : Dispatch {
  QStringList calls;
  Variant invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) override {
    static const char* const kinds[] = {"get", "put", "call"};
    static const char* const passings[] = {"value", "reference", "variant"};
    QString call = member + QLatin1Char(' ') + QLatin1String(kinds[int(kind)]);
    for (const Arg& a : args)
      call += QStringLiteral(" %1 by %2").arg(a.value.toString(), QLatin1String(passings[int(a.passing)]));
    calls << call;
    return 1000;
  }
};

TEST(FocuserDriverCalls, EachMemberReachesTheDriverByNameWithItsArgumentPassedAsTheDriverExpects) {
  auto driver = std::make_shared<NotingDriver>();
  const FocuserDriver focuser(AutomationRef{driver});
  const std::vector<std::pair<std::function<void()>, QStringList>> cases{
      {[&] { focuser.Absolute(), focuser.StepSize(), focuser.MaxIncrement(), focuser.Position(), focuser.IsMoving(); },
       {"Absolute get", "StepSize get", "MaxIncrement get", "Position get", "IsMoving get"}},
      {[&] { focuser.setLink(true); }, {"Link put True by value"}},
      {[&] { focuser.toggleLink(); }, {"Link get", "Link put False by variant"}},
      {[&] { focuser.MoveToPositionPlus(-40); }, {"Position get", "Move call 960 by variant"}},
      {[&] { focuser.Move(-200); }, {"Move call -200 by value"}},
      {[&] { focuser.MoveByReference(150); }, {"Move call 150 by reference"}},
      {[&] { focuser.Halt(), focuser.SetupDialog(); }, {"Halt call", "SetupDialog call"}},
  };
  for (const auto& [call, sent] : cases) {
    driver->calls.clear();
    call();
    EXPECT_EQ(driver->calls, sent);
  }
}

TEST(FocuserDriverCalls, AnEmptyDriverRaisesInsteadOfReadingFalse) {
  try {
    FocuserDriver().Link();
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.message(), QStringLiteral("Le variant ne référence pas un objet Automation"));
  }
}

}  // namespace
