// The motion buttons, the recall of the focus position, the stop and the
// reset of a relative focuser's count.
#include "app/Unit1.h"
#include "focuser/motion_plan.h"
#include "platform/application.h"
#include "platform/dialogs.h"

namespace {

const QString kQuestionAutofocusRapide =
    QStringLiteral("Voulez-vous lancer un autofocus rapide afin de valider la MAP ?");
const QString kPositionRelativeAZero =
    QStringLiteral("Le moteur étant de type \"relatif\", sa position a été mise à 0.");
const QString kModeFin = QStringLiteral("Fin");

// A button served inside the waits of a move or an autofocus run starts no
// move of its own there.
bool motionFree(const TForm1& f) { return !f.OperationUnderWay() && !Application->Terminated(); }

}  // namespace

void TForm1::wireMotionButtonEvents() {
  const auto onClick = [this](QToolButton* button, void (TForm1::*handler)()) {
    connect(button, &QToolButton::clicked, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
  };
  onClick(BoutonAVRapide, &TForm1::BoutonAVRapideClick);
  onClick(BoutonRERapide, &TForm1::BoutonRERapideClick);
  onClick(GoLimiteBasse, &TForm1::GoLimiteBasseClick);
  onClick(GoLimiteHaute, &TForm1::GoLimiteHauteClick);
  onClick(BoutonRappelMAP, &TForm1::BoutonRappelMAPClick);
  onClick(BoutonSTOP, &TForm1::BoutonSTOPClick);
  onClick(BoutonResetPos, &TForm1::BoutonResetPosClick);
  // The slow moves come on the press of any mouse button, not on the click.
  connect(BoutonAVLent, &TSpeedButton::OnMouseDown, this, [this] { guarded([this] { BoutonAVLentMouseDown(); }); });
  connect(BoutonRELent, &TSpeedButton::OnMouseDown, this, [this] { guarded([this] { BoutonRELentMouseDown(); }); });
}

void TForm1::BoutonAVRapideClick() {
  if (motionFree(*this)) Moteur(stepProduct({xPasLent, xPasRapide, FocStep}), false);
}

void TForm1::BoutonRERapideClick() {
  if (motionFree(*this)) Moteur(stepProduct({-1, xPasLent, xPasRapide, FocStep}), false);
}

// A press during a move is moved when that move ends; during a run, never.
void TForm1::BoutonAVLentMouseDown() {
  if (!AutofocusUnderWay() && !Application->Terminated()) StepMoveInTurn(stepProduct({xPasLent, FocStep}));
}

void TForm1::BoutonRELentMouseDown() {
  if (!AutofocusUnderWay() && !Application->Terminated()) StepMoveInTurn(stepProduct({-1, xPasLent, FocStep}));
}

void TForm1::GoLimiteBasseClick() {
  if (motionFree(*this) && xLimiteBasse != kNoLowerLimit) Moteur(xLimiteBasse, true);
}

void TForm1::GoLimiteHauteClick() {
  if (motionFree(*this) && xLimiteHaute != kNoUpperLimit) Moteur(xLimiteHaute, true);
}

void TForm1::BoutonRappelMAPClick() {
  if (!motionFree(*this)) return;
  if (xPositionMap != kNoFocusPosition) Moteur(xPositionMap, true);
  if (Application->Terminated()) return;
  TimerSouris->setEnabled(false);
  if (xIsEtoile) {
    const ModalResult answer = platform_.dialogs.MessageDlg(kQuestionAutofocusRapide, MsgDlgType::Confirmation,
                                                            {MsgDlgBtn::Yes, MsgDlgBtn::No});
    if (Application->Terminated()) return;
    if (answer == ModalResult::Yes) {
      ModeFocus = kModeFin;
      BoutonAutofocusClick();
      if (Application->Terminated()) return;
    }
  }
  TimerSouris->setEnabled(true);
}

void TForm1::DemandeArret() {
  Halt = true;
  StopMoves();
  // Whatever driver object is held, even one an OK that reconnected nothing left.
  if (!Focuser.isEmpty()) Focuser.Halt();
}

void TForm1::LogStopRequest() { MemoLog->Add(QStringLiteral("STOP demandé")); }

void TForm1::BoutonSTOPClick() {
  // The motor stops first; what the window has pending waits for that.
  DemandeArret();
  if (Focuser.isEmpty()) return;
  Application->ProcessMessages();
  Application->ProcessMessages();
  if (Application->Terminated()) return;
  LogStopRequest();
  if (!Focuser.Absolute()) {
    xPosition = 0;
    platform_.dialogs.MessageDlg(kPositionRelativeAZero, MsgDlgType::Information, {MsgDlgBtn::OK});
    if (Application->Terminated()) return;
  }
  EditFocuser->setColor(clWindow);
  BoutonFocuserConnect->setEnabled(true);
  LabelChrono->hide();
  LabelMesure->hide();
  Application->ProcessMessages();
}

void TForm1::BoutonResetPosClick() {
  xPosition = 0;
  AfficheBarrePO();
}
