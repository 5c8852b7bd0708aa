#pragma once
// The main window: the program's only working window and its state record.
// Its methods live in the folder of the subsystem that owns them:
//   app/              creation, first show, close, log, settings file
//   focuser/          driver connection, motion routine, position display, motion buttons
//   measure/          timed wait, desktop frame, FWHM, star picking, tracking
//   autofocus/        the two autofocus methods and their launcher
//   settings_dialog/  the setup button
#include <QCheckBox>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/platform_services.h"
#include "app/settings_table.h"
#include "focuser/focuser_driver.h"
#include "platform/automation.h"
#include "platform/controls.h"

class QChart;
class QChartView;
class QLineSeries;
class DesktopCanvas;
class DesktopDC;

// How the last autofocus run ended, for the launcher's report.
enum class FinAutofocus {
  Terminee,
  MoteurNonConnecte,
  SelectionDesactivee,
  PasFocuserNul,
  PasLentNul,
  PasRapideNul,
  Interrompue,
  Echouee  // a move was given up: where the focuser stands is unknown
};

// The stored settings fields of the state record come from SettingsRecord
// (app/settings_table.h).
class TForm1 : public QWidget, public SettingsRecord {
  Q_OBJECT
 public:
  explicit TForm1(PlatformServices& platform, QWidget* parent = nullptr);
  ~TForm1() override;

  PlatformServices& platform() { return platform_; }

  // ---- The state record -------------------------------------------------
  QString VersionAscom;           // platform version as the platform reports it
  FocuserDriver Focuser;          // the driver object
  bool FocuserExists = false;     // a driver object was created and may be used
  int FocStep = 0;                // microns per step
  int FocMaxIncrement = 0;        // largest single move, steps
  bool AscomOK = false;           // platform found at version 5 or later
  bool xIsEtoile = false;         // a star has been picked
  AutomationRef xProfile;         // the ASCOM profile object
  double fwhm_test = 0.0;         // FWHM the last autofocus run ended on
  bool xSortieTolerance = false;  // the last run ended on the tolerance test

  // ---- The controls (window definition: app/form1_definition.cpp) ----
  TShape* Shape1 = nullptr;
  TImage* Image1 = nullptr;
  QChartView* Chart1 = nullptr;
  QLineSeries* Series1 = nullptr;  // profile of the peak row, red
  QLineSeries* Series2 = nullptr;  // half level, green
  TSpeedButton* BoutonCapture = nullptr;
  TSpeedButton* BoutonStopCapture = nullptr;
  TLabeledEdit* LabelFWHM = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  TLabeledEdit* LabelIntMax = nullptr;
  TSpeedButton* BoutonAutofocus = nullptr;
  TSpeedButton* BoutonSetup = nullptr;
  TLabel* LabelMesure = nullptr;
  TLabel* Label1 = nullptr;
  TSpeedButton* BoutonRappelMAP = nullptr;
  TLabel* LabelChrono = nullptr;
  TSpeedButton* BoutonAVRapide = nullptr;
  TSpeedButton* BoutonRERapide = nullptr;
  TSpeedButton* GoLimiteBasse = nullptr;
  TSpeedButton* GoLimiteHaute = nullptr;
  TSpeedButton* BoutonAVLent = nullptr;
  TSpeedButton* BoutonRELent = nullptr;
  TSpeedButton* BoutonSTOP = nullptr;
  TLabel* LabelAscom = nullptr;
  TLabeledEdit* EditFocuser = nullptr;
  TSpeedButton* BoutonFocuserConnect = nullptr;
  TGauge* BarrePO = nullptr;
  TLabel* LabelPosition = nullptr;
  QCheckBox* ShowLog = nullptr;
  TSpeedButton* BoutonResetPos = nullptr;
  TMemo* MemoLog = nullptr;   // the log
  TMemo* Memo1 = nullptr;     // the debug memo, outside the client area
  TImage* Image2 = nullptr;   // invisible: the screen block under the frame
  QChartView* Chart2 = nullptr;
  QLineSeries* Series4 = nullptr;  // FWHM history
  TTimer* TimerSouris = nullptr;    // star picking, 100 ms
  TTimer* TimerSuivi = nullptr;     // FWHM tracking
  TTimer* TimerMarron = nullptr;    // lamp blinking, 500 ms
  TTimer* TimerTrackBar = nullptr;  // motor poll, 250 ms
  TTimer* Timer1 = nullptr;         // never enabled

  // ---- Main window and settings store (app/) ----
  void FormCreate();
  void FormShow();
  void FormClose();
  void ShowLogClick();
  void LitFichierIni();
  void EcritFichierIni();
  QString settingsPath() const;
  // The stored settings as the close and a profile save write them: the
  // window's place is where it stands now.
  SettingsRecord settingsToStore() const;
  // Moves the window's outer top-left corner to `frameTopLeft`, or the least
  // from there that keeps the whole frame on a screen.
  void placeWindow(QPoint frameTopLeft);

  // ---- Focuser control (focuser/) ----
  void LitRegistre(bool pFirstTime);
  void FirstShowFocuser();
  void BoutonFocuserConnectClick();
  void Moteur(int Pos, bool IsAbs);
  void AfficheBarrePO();
  void TimerTrackBarTimer();
  void BoutonAVRapideClick();
  void BoutonRERapideClick();
  void GoLimiteBasseClick();
  void GoLimiteHauteClick();
  void BoutonAVLentMouseDown();
  void BoutonRELentMouseDown();
  void BoutonRappelMAPClick();
  void BoutonSTOPClick();
  void BoutonResetPosClick();

  // ---- A move in progress (focuser/motion.cpp) ----
  // A Moteur call is running: its waits serve events, so a click can arrive
  // inside it. Moteur starts no move of its own while one runs.
  bool MoveUnderWay() const { return moveUnderWay_; }
  // The last Moteur call gave up a wait: the driver did not report the end of
  // a move in time, so the focuser may stand anywhere.
  bool MoveGivenUp() const { return moveGivenUp_; }
  // For the stop button: a move under way sends no further move, and the
  // moves waiting their turn are dropped. A stop made before a move began
  // never cuts that move short.
  void StopMoves();
  // For the slow-move buttons: the step count is moved now or, during a move,
  // when that move ends, in the order of the presses.
  void StepMoveInTurn(int steps);
  // The stop's first steps (focuser/buttons.cpp), also taken by an OK of the
  // settings dialog that will replace the driver: the stop request set, the
  // moves waiting dropped, the driver object held, if any, halted.
  void DemandeArret();
  // The stop's log line, also written by an OK of the settings dialog that stops a move.
  void LogStopRequest();
  // The move under way has sent all its moves and its motor stands: only its
  // end is left, held up while a window opened inside its wait stays open.
  bool MoveHasEnded() const;
  // Where the focuser stands now, as the settings dialog learns it: a linked
  // absolute driver's own position, which the program's lags behind during a
  // move; otherwise the program's count, which a relative move updates as it
  // is sent.
  int StandingPosition() const;

  // ---- Star measurement (measure/) ----
  void TimerSourisTimer();
  void CheckBox1Click();
  void BoutonCaptureClick();
  void BoutonStopCaptureClick();
  void TimerSuiviTimer();
  void TimerMarronTimer();

  // ---- Autofocus (autofocus/) ----
  void AutofocusApproches();
  void AutofocusIntraExtra();
  void BoutonAutofocusClick();
  // The measure a run takes at each focuser position; empty, CalculeFWHM.
  // A test gives a run a scripted sequence of FWHM values here.
  std::function<double(bool IsAutoFocus)> autofocusMeasure;
  FinAutofocus xFinAutofocus = FinAutofocus::Terminee;
  // Why the last run stopped short of its end, when nobody stopped it: the
  // log line its end box repeats; empty after a STOP.
  QString xRaisonFinAutofocus;
  bool xAutofocusMesure = false;  // the last run took at least one real measure
  // A run is under way (autofocus/running_autofocus.h): the stop button stays usable,
  // no other move starts.
  bool AutofocusUnderWay() const { return autofocusRuns_ > 0; }
  // A move or an autofocus run is under way: a click served inside its waits
  // starts no other, and an OK of the settings dialog waits for its end.
  bool OperationUnderWay() const { return MoveUnderWay() || AutofocusUnderWay(); }
  // Runs as each move or run ends (app/running_operation.h); the settings
  // dialog subscribes to it.
  std::function<void()> OnOperationEnd;

  // ---- Settings dialog (settings_dialog/) ----
  void BoutonSetupClick();

 protected:
  void setVisible(bool visible) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  // Each subsystem connects the events of the controls it owns.
  void wireAppEvents();
  void wireFocuserEvents();
  void wireMeasureEvents();
  void wireAutofocusEvents();
  void wireMotionButtonEvents();  // focuser/buttons.cpp, from wireFocuserEvents
  void wireSettingsEvents();

  PlatformServices& platform_;
  bool shown_ = false;
  bool framed_ = false;
  bool closed_ = false;
  // A close asked for during a move waits for the move's end (app/Unit1.cpp).
  bool closeAfterMove_ = false;
  friend class RunningOperation;
  void operationEnded();
  bool pickUnderWay_ = false;  // a star pick is running (measure/picking.cpp)
  unsigned trackingRun_ = 0;   // changes at each start and stop of tracking (measure/tracking.cpp)
  // Picking's last tick saw the left button down, in a press that began on
  // one of the program's windows or not (measure/picking.cpp).
  bool buttonSeenDown_ = false;
  bool pressOnProgram_ = false;

  // A move in progress (focuser/motion.cpp).
  void moveOnce(int Pos, bool IsAbs);
  bool moveUnderWay_ = false;
  bool moveGivenUp_ = false;
  unsigned stopCount_ = 0;      // stops made so far; each move notes it as it starts
  QList<int> stepsInTurn_;      // step counts pressed during a move
  bool lastMoveSent_ = false;   // the move under way has no Move left to send
  bool pollFailed_ = false;     // the motor poll stopped on a driver error

  friend class RunningAutofocus;
  int autofocusRuns_ = 0;  // a run, and the run it hands over to
};

// ---- The unit-wide globals ----
extern TForm1* Form1;              // the main window
extern bool Halt;                  // the stop request
extern QString ModeFocus;          // "Fin": successive approaches with slow steps only
extern int OrigX, OrigY;           // top-left corner of the measured square
extern int OldX, OldY;             // top-left corner of the frame drawn last
extern bool IsFirstTime;           // no frame drawn on the desktop yet
extern std::unique_ptr<DesktopCanvas> xCanvasBureau;  // draws on the desktop
extern DesktopDC* xHDCBureau;      // the desktop's device context, the canvas's handle
extern Desktop* xHBureau;          // the desktop window
