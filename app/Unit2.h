#pragma once
// The about box: the program's picture, its name and its version.
#include <QByteArray>
#include <QDialog>

class QPushButton;
class TImage;
class TLabel;
class TPanel;
class VersionSource;

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  // The box with the program's picture from the resources.
  explicit TAboutBox(QWidget* parent = nullptr);
  // The box with the picture given as JPEG bytes.
  explicit TAboutBox(const QByteArray& pictureJpeg, QWidget* parent = nullptr);

  // ---- The controls (window definition: app/aboutbox_definition.cpp) ----
  TPanel* Panel1 = nullptr;
  TImage* ProgramIcon = nullptr;
  TLabel* ProductName = nullptr;
  TLabel* Version = nullptr;
  QPushButton* OKButton = nullptr;

  void FormCreate();

  // The version string: "FileVersion" of the French, Windows-1252 string table
  // of the program's version block; empty when there is no such value.
  static QString LectureVersion();
  static QString LectureVersion(const VersionSource& source);

  // Each opening places the box at the middle of its opener's screen first.
  void setVisible(bool visible) override;

 private:
  void loadProgramIcon(const QByteArray& jpeg);
};

extern TAboutBox* AboutBox;
