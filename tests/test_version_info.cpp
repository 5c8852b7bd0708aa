#include <gtest/gtest.h>

#include "app/Unit2.h"
#include "platform/version_info.h"
#include "resources/resources.h"
#include "qt_printers.h"

TEST(VersionBlock, TheProgramCarriesItsVersionInTheFrenchTable) {
  EXPECT_EQ(TAboutBox::LectureVersion(FixedVersionSource(resources::versionBlock())), "1.3.3.7");
  QString description;
  ASSERT_TRUE(queryVersionValue(resources::versionBlock(),
                                "\\StringFileInfo\\040C04E4\\FileDescription", description));
  EXPECT_EQ(description, QString::fromUtf8("Contrôle/gestion de la MAP en continu"));
}

TEST(VersionBlock, NoBlockOrNoFrenchTableGivesAnEmptyVersion) {
  EXPECT_EQ(TAboutBox::LectureVersion(FixedVersionSource(QByteArray())), "");
  EXPECT_EQ(TAboutBox::LectureVersion(FixedVersionSource("StringFileInfo\\040904E4\\FileVersion=2.0\n")), "");
  EXPECT_EQ(TAboutBox::LectureVersion(FixedVersionSource("stringfileinfo\\040c04e4\\fileversion=2.0\n")), "2.0");
}
