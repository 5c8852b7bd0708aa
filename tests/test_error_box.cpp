#include <gtest/gtest.h>

#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/exception.h"
#include "qt_printers.h"
#include "virtual_time.h"
#include "scripted_dialogs.h"

TEST(ErrorBox, AFullStopIsAddedUnlessTheTextEndsWithOneOrALowerCharacter) {
  EXPECT_EQ(errorBoxText("Impossible d'écrire dans /x/trevast.ini"), "Impossible d'écrire dans /x/trevast.ini.");
  EXPECT_EQ(errorBoxText("Fini."), "Fini.");
  EXPECT_EQ(errorBoxText("Attention !"), "Attention !");
  EXPECT_EQ(errorBoxText("(voir plus haut)"), "(voir plus haut)");
  EXPECT_EQ(errorBoxText("fin "), "fin ");
  EXPECT_EQ(errorBoxText("x-"), "x-");
  EXPECT_EQ(errorBoxText("x/"), "x/.");
  EXPECT_EQ(errorBoxText("''"), "''");
  EXPECT_EQ(errorBoxText(""), "");
}

TEST(ErrorBox, AnEscapingErrorShowsOneBoxCaptionedWithTheTitleAndSkipsTheRest) {
  VirtualTime time;
  ScriptedDialogs dialogs;
  TApplication app(time, dialogs);
  Application = &app;
  app.Title = "Trevast";
  bool restRan = false;
  guarded([&] {
    throw Exception("'abc' n'est pas une valeur en virgule flottante correcte");
    restRan = true;
  });
  EXPECT_FALSE(restRan);
  ASSERT_EQ(dialogs.shown.size(), 1);
  EXPECT_EQ(dialogs.shown[0].kind, "ErrorBox");
  EXPECT_EQ(dialogs.shown[0].caption, "Trevast");
  EXPECT_EQ(dialogs.shown[0].text, "'abc' n'est pas une valeur en virgule flottante correcte.");
  Application = nullptr;
}

TEST(ErrorBox, AHandlerThatFailsWhileTheBoxIsOpenAddsNoSecondBox) {
  VirtualTime time;
  ScriptedDialogs dialogs;
  TApplication app(time, dialogs);
  Application = &app;
  int ticks = 0;
  // While the first box is open, a timer tick fails twice more.
  dialogs.whileOpen = [&](const ScriptedDialogs::Shown&) {
    for (int i = 0; i < 2; ++i) guarded([&] {
        ++ticks;
        throw Exception("tick");
      });
  };
  guarded([] { throw Exception("first"); });
  EXPECT_EQ(ticks, 2);
  ASSERT_EQ(dialogs.shown.size(), 1);
  EXPECT_EQ(dialogs.shown[0].text, "first.");
  // Once it is closed, the next error has its box again.
  dialogs.whileOpen = nullptr;
  guarded([] { throw Exception("again"); });
  EXPECT_EQ(dialogs.shown.size(), 2);
  Application = nullptr;
}
