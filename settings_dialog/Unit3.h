#pragma once
// The settings dialog "Trevast - Paramétrage". Each opening fills it from the
// main window's state record; some controls write the record at once as they
// change, the others are handed over when it closes with OK
// (TForm1::BoutonSetupClick, settings_dialog/setup_button.cpp).
#include <QDialog>
#include <optional>

#include "app/settings_table.h"
#include "platform/dialogs.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class TBitBtn;
class TLabel;
class TLabeledEdit;
class TShape;
class TSpeedButton;
class TSpinEdit;
class TUpDown;

class TForm3 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm3(QWidget* parent = nullptr);
  ~TForm3() override;

  // ---- The controls (window definition: settings_dialog/form3_definition.cpp) ----
  QGroupBox* GroupeMoteurMAP = nullptr;
  TBitBtn* BoutonSelection = nullptr;
  QPushButton* Button1 = nullptr;

  QGroupBox* GroupBox2 = nullptr;
  TLabeledEdit* Delai_Autofocus = nullptr;
  TUpDown* UpDown2 = nullptr;

  QGroupBox* GroupBox3 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label6 = nullptr;
  TLabel* Label4 = nullptr;
  QLineEdit* Tolerance = nullptr;
  TUpDown* UpDown1 = nullptr;
  QLineEdit* PasLent = nullptr;
  TUpDown* UpDownLent = nullptr;
  QLineEdit* PasRapide = nullptr;
  TUpDown* UpDownRapide = nullptr;
  QLineEdit* EditMesures = nullptr;
  TUpDown* UpDownMesures = nullptr;
  QComboBox* ComboBox1 = nullptr;
  TLabel* Label5 = nullptr;
  QLineEdit* MaskEdit1 = nullptr;
  QCheckBox* IsManuel = nullptr;

  QGroupBox* GroupeApprentissage = nullptr;
  TLabeledEdit* LimiteBasse = nullptr;
  TLabeledEdit* LimiteHaute = nullptr;
  TLabeledEdit* PointDeMap = nullptr;
  TSpeedButton* ValideLimiteBasse = nullptr;
  TSpeedButton* ValideLimiteHaute = nullptr;
  TSpeedButton* ValideMAP = nullptr;
  TSpeedButton* EffaceLimiteBasse = nullptr;
  TSpeedButton* EffaceLimiteHaute = nullptr;
  TSpeedButton* EffaceMAP = nullptr;

  QGroupBox* GroupBox5 = nullptr;
  TLabel* Label7 = nullptr;
  TShape* Shape1 = nullptr;
  TSpinEdit* SpinEdit1 = nullptr;

  TBitBtn* BoutonOK = nullptr;
  TBitBtn* BitBtn3 = nullptr;
  TBitBtn* BitBtn4 = nullptr;
  TBitBtn* BitBtn5 = nullptr;
  TBitBtn* BitBtn6 = nullptr;
  QLineEdit* Edit1 = nullptr;  // never visible: the driver chooser's last answer

  // The two file dialogs: they live as long as the settings dialog and keep
  // the last name chosen in them and, for the save, its initial folder.
  FileDialogRequest SaveDialog1;
  FileDialogRequest OpenDialog1;

  // The values of an OK given during a move or an autofocus run, handed over
  // when it has ended (app/running_operation.h).
  std::optional<SettingsRecord> pendingHandOver;

  // ---- Filling and live handlers (Unit3.cpp) ----
  void FormShow();
  void InitVar();
  void ComboBox1Change();
  void MaskEdit1Change();
  void UpDownMesuresClick();
  void IsManuelClick();
  void SpinEdit1Change();
  void BitBtn6Click();
  // The values OK hands over to the state record, read off their controls
  // (the record's other fields stay at zero).
  SettingsRecord LitValeurs() const;
  // Shows the values OK hands over in their controls.
  void AfficheValeurs(const SettingsRecord& v);

  // ---- Driver selection and driver setup (selection.cpp) ----
  void BoutonSelectionClick();
  void Button1Click();

  // ---- Learning the limits and the focus position (learning.cpp) ----
  void ValideLimiteBasseClick();
  void ValideLimiteHauteClick();
  void ValideMAPClick();
  void EffaceLimiteBasseClick();
  void EffaceLimiteHauteClick();
  void EffaceMAPClick();
  void LimiteBasseChange();
  void LimiteHauteChange();
  void PointDeMapChange();

  // ---- Profile files (profiles.cpp) ----
  void BitBtn4Click();
  void BitBtn5Click();

  // Each opening places the dialog at the middle of its opener's screen first.
  void setVisible(bool visible) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void wireEvents();
};

extern TForm3* Form3;
