#include <QFileInfo>

#include "app/Unit1.h"
#include "app/settings_store.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/ini_file.h"
#include "platform/number_format.h"
#include "settings_dialog/Unit3.h"

void TForm3::BitBtn4Click() {
  TForm1& f = *Form1;
  const QString path = f.platform().dialogs.SaveFileName(SaveDialog1);
  if (path.isEmpty()) return;
  SaveDialog1.fileName = path;
  // Set before the write, so it holds even when the write fails.
  SaveDialog1.initialDir = f.platform().programFolder;
  // An existing profile is updated key by key and replaced in one step:
  // what it holds beside these keys stays, and a failed write leaves it whole.
  // A profile holds the state record as it stands, with the main window's
  // place: values the dialog hands over only on OK are not in it yet.
  IniFile file(path);
  writeProfile(file, f.settingsToStore());
  file.UpdateFile();
}

void TForm3::BitBtn5Click() {
  TForm1& f = *Form1;
  const QString path = f.platform().dialogs.OpenFileName(OpenDialog1);
  if (path.isEmpty()) return;
  OpenDialog1.fileName = path;
  const IniFile file(path);
  // A profile that cannot be read, or a name that is no file, loads nothing:
  // the defaults would take the place of the user's values.
  if (file.Refused() || file.Absent()) throw Exception(iniReadError(path));
  const std::optional<QString> unreadableTarget = readProfile(file, f);
  // A load reads no "Taille", which the record always holds within its range:
  // every line names a value of this profile.
  for (const QString& line : bringWithinRanges(f, QFileInfo(path).fileName())) f.MemoLog->Add(line);
  InitVar();

  // An unreadable target is told once; it keeps its value, and every other
  // key is loaded and shown.
  if (unreadableTarget) Application->HandleException(Exception(numfmt::ConversionErrorMessage(*unreadableTarget)));
}
