#include <QWindow>

#include "app/Unit1.h"
#include "app/settings_store.h"
#include "platform/application.h"
#include "platform/ini_file.h"
#include "platform/number_format.h"

// "Gauche" and "Haut" are the outer top-left corner, frame included.
void TForm1::placeWindow(QPoint frameTopLeft) {
  move(frameTopLeft);
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
  for (const QString& line : clampToHardLimits(*this, QStringLiteral("trevast.ini"))) MemoLog->Add(line);
  if (FormGauche != kNoStoredPlace && FormHaut != kNoStoredPlace) placeWindow(QPoint(FormGauche, FormHaut));

  // A settings file that cannot be read gives the defaults; the user is told,
  // and the close will say again if it cannot write it either.
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
