#include "app/Unit2.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "app/Unit1.h"
#include "platform/application.h"
#include "platform/controls.h"
#include "platform/panel.h"
#include "platform/version_info.h"
#include "app/aboutbox_definition.h"
#include "resources/pictures.h"
#include "resources/resources.h"

TAboutBox* AboutBox = nullptr;

namespace {
// The top-left corner that puts a window of outer size `frame` in the middle
// of `screen`.
QPoint screenCentredPlace(const QRect& screen, const QSize& frame) {
  return screen.topLeft() + QPoint((screen.width() - frame.width()) / 2, (screen.height() - frame.height()) / 2);
}
}  // namespace

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
  if (visible && !isVisible()) {
    QSize frame = frameGeometry().size();
    // Before its first opening the window manager has not yet framed the box:
    // the main window's frame is the best guess of the one it will get.
    if (frame == size() && Form1 && Form1->isVisible())
      frame += Form1->frameGeometry().size() - Form1->size();
    const QScreen* screen = Form1 ? Form1->screen() : QGuiApplication::primaryScreen();
    if (screen) move(screenCentredPlace(screen->geometry(), frame));
  }
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
