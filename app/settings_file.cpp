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

void TForm1::LitFichierIni() {
  const IniFile file(settingsPath());
  bool cibleUnreadable = false;
  QString badCible;
  StoredSettings s = readSettings(file, cibleUnreadable, badCible);
  for (const QString& line : clampToHardLimits(s, QStringLiteral("trevast.ini"))) MemoLog->Add(line);

  FocDriver = s.driver;
  FocName = s.name;
  xPosition = s.position;
  xPositionMap = s.positionMap;
  xLimiteBasse = s.limiteBasse;
  xLimiteHaute = s.limiteHaute;
  xPasLent = s.lowSpeed;
  xPasRapide = s.highSpeed;
  xTolerance = s.tolerance;
  xMethode = s.methode;
  xNbMesures = s.mesures;
  xDelaiAutofocus = s.delaiSuivi;
  xTaille = s.taille;
  xCible = s.cible;
  xManuel = s.manuel;
  FormGauche = s.gauche;
  FormHaut = s.haut;
  if (FormGauche != -1 && FormHaut != -1) placeWindow(QPoint(FormGauche, FormHaut));

  // A settings file that cannot be read gives the defaults; the user is told,
  // and the close will say again if it cannot write it either.
  if (file.Refused()) Application->HandleException(Exception(iniReadError(file.FileName())));
  // An unreadable target is told once; every other key is already read and
  // the start goes on with the default target.
  if (cibleUnreadable) Application->HandleException(Exception(numfmt::ConversionErrorMessage(badCible)));
}

void TForm1::EcritFichierIni() {
  IniFile file(settingsPath());
  StoredSettings s;
  s.name = FocName;
  s.driver = FocDriver;
  s.position = xPosition;
  s.positionMap = xPositionMap;
  s.limiteBasse = xLimiteBasse;
  s.limiteHaute = xLimiteHaute;
  s.tolerance = xTolerance;
  s.lowSpeed = xPasLent;
  s.highSpeed = xPasRapide;
  s.methode = xMethode;
  s.mesures = xNbMesures;
  s.taille = xTaille;
  s.delaiSuivi = xDelaiAutofocus;
  s.manuel = xManuel;
  s.cible = xCible;
  s.gauche = pos().x();
  s.haut = pos().y();
  writeSettings(file, s);
  file.UpdateFile();
}
