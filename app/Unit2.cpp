#include "app/Unit2.h"

#include <QPushButton>

#include "app/Unit1.h"
#include "app/window_place.h"
#include "platform/application.h"
#include "platform/controls.h"
#include "platform/panel.h"
#include "platform/version_info.h"
#include "app/aboutbox_definition.h"
#include "resources/pictures.h"
#include "resources/resources.h"

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(QWidget* parent) : TAboutBox(resources::programPictureJpeg(), parent) {}

// A dialog frame: a title and a close box, no resizing. The main window stays
// above every other window, so this modal box must too, or it could open
// beneath it.
TAboutBox::TAboutBox(const QByteArray& pictureJpeg, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
  defineAboutBox(*this);
  loadProgramIcon(pictureJpeg);
  connect(OKButton, &QPushButton::clicked, this, [this] { guarded([this] { accept(); }); });
  guarded([this] { FormCreate(); });
}

void TAboutBox::loadProgramIcon(const QByteArray& jpeg) {
  const DecodedJpeg picture = decodeJpeg(jpeg);
  ProgramIcon->setPicture(picture.image);
  if (picture.image.isNull() && Form1)
    Form1->Memo1->Add(resources::unreadablePictureLine(QStringLiteral("ProgramIcon"), picture.error));
}

void TAboutBox::FormCreate() {
  Version->setText(QStringLiteral("Version ") + LectureVersion());
  Version->adjustSize();
}

void TAboutBox::setVisible(bool visible) {
  if (visible && !isVisible()) centreOnOpenerScreen(*this);
  QDialog::setVisible(visible);
}

QString TAboutBox::LectureVersion(const VersionSource& source) {
  QString version;
  if (!queryVersionValue(source.block(), QStringLiteral("\\StringFileInfo\\040C04E4\\FileVersion"), version))
    return QString();
  return version;
}

QString TAboutBox::LectureVersion() {
  if (Form1) return LectureVersion(Form1->platform().version);
  return LectureVersion(FixedVersionSource(resources::versionBlock()));
}
