#include "app/Unit1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <exception>

#include "app/Unit2.h"
#include "measure/frame.h"
#include "platform/application.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "app/form1_definition.h"
#include "app/running_operation.h"
#include "settings_dialog/hand_over.h"

namespace {

const QString kFermetureApresDeplacement = QStringLiteral("Fermeture à la fin du déplacement en cours.");
const QString kFermetureAnnulee = QStringLiteral("Fermeture annulée : le déplacement a pris fin sur une erreur.");

}  // namespace

TForm1* Form1 = nullptr;
bool Halt = false;
QString ModeFocus;
int OrigX = 0, OrigY = 0;
int OldX = 0, OldY = 0;
bool IsFirstTime = false;
std::unique_ptr<DesktopCanvas> xCanvasBureau;
DesktopDC* xHDCBureau = nullptr;
Desktop* xHBureau = nullptr;

TForm1::TForm1(PlatformServices& platform, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      platform_(platform) {
  defineForm1(*this);
  platform_.dialogs.setOwner(this);
  wireAppEvents();
  wireFocuserEvents();
  wireMeasureEvents();
  wireAutofocusEvents();
  wireSettingsEvents();
}

TForm1::~TForm1() {
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::wireAppEvents() {
  connect(ShowLog, &QCheckBox::toggled, this, [this] { guarded([this] { ShowLogClick(); }); });
}

void TForm1::FormCreate() {
  MemoLog->Add(QStringLiteral("Trevast version ") + TAboutBox::LectureVersion());
  xIsEtoile = false;
  // Qt paints every widget through a back buffer: the window is double-buffered.
  IsFirstTime = true;
  OrigX = 0;
  OrigY = 0;
  xTaille = 30;
  setFixedSize(width(), 330);
  QImage buffer(xTaille, xTaille, QImage::Format_RGB32);
  buffer.fill(Qt::white);
  Image2->setPicture(buffer);
  // Topmost for good: the window carries the stay-on-top hint from its
  // definition, which the window manager keeps while other programs are active.
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  BoutonAVRapide->setEnabled(false);
  BoutonRERapide->setEnabled(false);
  BoutonRappelMAP->setEnabled(false);
  TimerSuivi->setInterval(3000);
  xDelaiAutofocus = 3;
  xLimiteBasse = kNoLowerLimit;
  xLimiteHaute = kNoUpperLimit;
  xPosition = 0;
  xPositionMap = kNoFocusPosition;
  LabelPosition->setText(QString());
  AscomOK = false;
  xHBureau = &platform_.desktop;
  xCanvasBureau = std::make_unique<DesktopCanvas>(xHBureau->GetWindowDC());
  xHDCBureau = &xCanvasBureau->Handle();
  xCanvasBureau->BrushColor = Qt::red;
  xCanvasBureau->PenColor = Qt::red;
}

void TForm1::setVisible(bool visible) {
  // The first show runs before the window exists on the screen, so the place
  // it reads is given to the window system as the window is made.
  if (visible && !shown_) {
    shown_ = true;
    guarded([this] { FormShow(); });
  }
  QWidget::setVisible(visible);
}

void TForm1::FormShow() {
  LitFichierIni();
  FirstShowFocuser();
}

void TForm1::ShowLogClick() {
  setFixedSize(width(), ShowLog->isChecked() ? 420 : 330);
  placeWindow(pos());  // the grown window moves up where the screen ends below the log
  Application->ProcessMessages();
}

void TForm1::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // The window manager frames the window once it is shown: only then is the
  // frame's size known, and the place of the start is checked again with it.
  if (!framed_ && frameGeometry().size() != size()) {
    framed_ = true;
    placeWindow(pos());
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  // A move cut short would leave the focuser short of the position the file
  // then stores, the only record a relative focuser has: the window stays,
  // STOP still stops, and the close runs once the move has ended. An
  // autofocus run is cut short as it always was: its moves are its own.
  if (!closed_ && MoveUnderWay() && !AutofocusUnderWay()) {
    event->ignore();
    if (closeAfterMove_) return;
    closeAfterMove_ = true;
    stepsInTurn_.clear();  // the presses waiting their turn are not moved
    MemoLog->Add(kFermetureApresDeplacement);
    ShowLog->setChecked(true);
    return;
  }
  event->accept();
  if (closed_) return;
  closed_ = true;
  // The closing state comes first: from here no timer starts new work, and a
  // long operation under way sees it and ends without a further move or frame.
  Application->Terminate();
  for (TTimer* t : {TimerSouris, TimerSuivi, TimerMarron, TimerTrackBar, Timer1}) t->setEnabled(false);
  guarded([this] { FormClose(); });
  // Only now, once any box the close opened has been answered, do the event
  // loops end: the main one, and those of the operations still under way.
  QCoreApplication::exit(0);
}

RunningOperation::~RunningOperation() { form_.operationEnded(); }

void TForm1::operationEnded() {
  if (OnOperationEnd) OnOperationEnd();
  // The move a close waited for has ended, the position is where the motor
  // stands: the close runs now, and the handler that made the move sees the
  // program closing when it returns.
  if (!closeAfterMove_ || OperationUnderWay()) return;
  closeAfterMove_ = false;
  // A move ended by a driver error: the window stays for the error box that
  // follows, which a close now would take away unread.
  if (std::uncaught_exceptions() > 0) {
    MemoLog->Add(kFermetureAnnulee);
    return;
  }
  close();
}

void TForm1::FormClose() {
  RafraichitBureau();
  xCanvasBureau.reset();
  xHDCBureau = nullptr;
  handOverAtClose();  // an OK given during a move or a run that the close cut short
  EcritFichierIni();
}
