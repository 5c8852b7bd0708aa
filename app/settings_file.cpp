#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include "app/Unit1.h"
#include "app/settings_store.h"
#include "app/window_place.h"
#include "platform/application.h"
#include "platform/ini_file.h"
#include "platform/number_format.h"

// "Gauche" and "Haut" are the outer top-left corner, frame included. The whole
// frame is kept on a screen: a place stored on another set of screens, or one
// whose lower part the screen does not reach, would hide the log or the
// controls the user needs to bring the window back.
void TForm1::placeWindow(QPoint frameTopLeft) {
  // Before its first show the window manager has not framed the window yet:
  // the title bar is what its frame adds.
  const int titleHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
  QSize frame = frameGeometry().size();
  if (frame == size()) frame += QSize(0, titleHeight);
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens.append(screen->availableGeometry());
  move(placeOnScreen(frameTopLeft, frame, screens));
}

QString TForm1::settingsPath() const { return platform_.programFolder + QStringLiteral("trevast.ini"); }

SettingsRecord TForm1::settingsToStore() const {
  SettingsRecord r = *this;
  r.FormGauche = pos().x();
  r.FormHaut = pos().y();
  return r;
}

void TForm1::LitFichierIni() {
  const IniFile file(settingsPath());
  const std::optional<QString> unreadableTarget = readSettings(file, *this);
  for (const QString& line : bringWithinRanges(*this, QStringLiteral("trevast.ini"))) MemoLog->Add(line);
  if (FormGauche != kNoStoredPlace && FormHaut != kNoStoredPlace) placeWindow(QPoint(FormGauche, FormHaut));

  // A settings file that cannot be read whole gives the defaults; the user is
  // told, and the close, which leaves such a file as it is, says so again.
  if (file.Refused()) Application->HandleException(Exception(iniReadError(file.FileName())));
  // An unreadable target is told once; every other key is already read and
  // the start goes on with the default target.
  if (unreadableTarget)
    Application->HandleException(Exception(numfmt::ConversionErrorMessage(*unreadableTarget)));
}

void TForm1::EcritFichierIni() {
  IniFile file(settingsPath());
  writeSettings(file, settingsToStore());
  file.UpdateFile();
}
