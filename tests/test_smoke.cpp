#include <gtest/gtest.h>

#include "app_fixture.h"

TEST(Smoke, FormComesUp) {
  TestPlatform p;
  auto form = makeForm(p);
  EXPECT_EQ(form->MemoLog->Lines().value(0), QStringLiteral("Trevast version 1.3.3.7"));
}
