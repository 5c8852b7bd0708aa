#pragma once
// The about box: the program's picture, its name and its version.
#include <QDialog>

class VersionSource;

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  // The version string: "FileVersion" of the French, Windows-1252 string table
  // of the program's version block; empty when there is no such value.
  static QString LectureVersion();
  static QString LectureVersion(const VersionSource& source);
};

extern TAboutBox* AboutBox;
