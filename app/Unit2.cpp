#include "app/Unit2.h"

#include "app/Unit1.h"
#include "platform/version_info.h"

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {}

QString TAboutBox::LectureVersion(const VersionSource& source) {
  QString version;
  if (!queryVersionValue(source.block(), QStringLiteral("\\StringFileInfo\\040C04E4\\FileVersion"), version))
    return QString();
  return version;
}

QString TAboutBox::LectureVersion() {
  if (Form1) return LectureVersion(Form1->platform().version);
  return LectureVersion(EmbeddedVersionSource());
}
