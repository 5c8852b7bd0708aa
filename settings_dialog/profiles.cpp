#include "app/Unit1.h"
#include "app/settings_store.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/ini_file.h"
#include "platform/number_format.h"
#include "settings_dialog/Unit3.h"

namespace {

// What a profile holds: the state record as it stands, with the main
// window's place. Values the dialog hands over only on OK are not in it yet.
StoredSettings profileDuRecord(const TForm1& f) {
  StoredSettings s;
  s.name = f.FocName;
  s.driver = f.FocDriver;
  s.position = f.xPosition;
  s.positionMap = f.xPositionMap;
  s.limiteBasse = f.xLimiteBasse;
  s.limiteHaute = f.xLimiteHaute;
  s.tolerance = f.xTolerance;
  s.lowSpeed = f.xPasLent;
  s.highSpeed = f.xPasRapide;
  s.methode = f.xMethode;
  s.mesures = f.xNbMesures;
  s.taille = f.xTaille;
  s.delaiSuivi = f.xDelaiAutofocus;
  s.cible = f.xCible;
  s.manuel = f.xManuel;
  s.gauche = f.pos().x();
  s.haut = f.pos().y();
  return s;
}

}  // namespace

void TForm3::BitBtn4Click() {
  TForm1& f = *Form1;
  const QString path = f.platform().dialogs.SaveFileName(SaveDialog1);
  if (path.isEmpty()) return;
  SaveDialog1.fileName = path;
  // Set before the write, so it holds even when the write fails.
  SaveDialog1.initialDir = f.platform().programFolder;
  // An existing profile is updated key by key and replaced in one step:
  // what it holds beside these keys stays, and a failed write leaves it whole.
  IniFile file(path);
  writeProfile(file, profileDuRecord(f));
  file.UpdateFile();
}

void TForm3::BitBtn5Click() {
  TForm1& f = *Form1;
  const QString path = f.platform().dialogs.OpenFileName(OpenDialog1);
  if (path.isEmpty()) return;
  OpenDialog1.fileName = path;
  const IniFile file(path);
  // A profile that cannot be read loads nothing.
  if (file.Refused()) throw Exception(iniReadError(path));
  bool cibleUnreadable = false;
  QString badCible;
  StoredSettings s = readProfile(file, cibleUnreadable, badCible);
  for (const QString& line : clampToHardLimits(s, QStringLiteral("le profil"))) f.MemoLog->Add(line);

  f.FocDriver = s.driver;
  f.FocName = s.name;
  f.xPosition = s.position;
  f.xPositionMap = s.positionMap;
  f.xLimiteBasse = s.limiteBasse;
  f.xLimiteHaute = s.limiteHaute;
  f.xPasLent = s.lowSpeed;
  f.xPasRapide = s.highSpeed;
  f.xTolerance = s.tolerance;
  f.xMethode = s.methode;
  f.xNbMesures = s.mesures;
  f.xDelaiAutofocus = s.delaiSuivi;
  if (!cibleUnreadable) f.xCible = s.cible;
  InitVar();

  // An unreadable target is told once; it keeps its value, and every other
  // key is loaded and shown.
  if (cibleUnreadable) Application->HandleException(Exception(numfmt::ConversionErrorMessage(badCible)));
}
