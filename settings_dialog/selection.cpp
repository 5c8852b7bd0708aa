#include <QLineEdit>

#include "app/Unit1.h"
#include "platform/application.h"
#include "platform/automation.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "settings_dialog/Unit3.h"

void TForm3::BoutonSelectionClick() {
  TForm1& f = *Form1;
  f.AscomOK = false;
  try {
    // A new chooser for each click, released when the click ends.
    const AutomationRef chooser = f.platform().com.CreateOleObject(QStringLiteral("DriverHelper.Chooser"));
    chooser.put(QStringLiteral("devicetype"), QStringLiteral("Focuser"));
    const Variant answer = chooser.call(QStringLiteral("Choose"), {Arg{f.FocDriver, Passing::Reference}});
    Edit1->setText(answer.toString());
  } catch (...) {
    f.platform().dialogs.MessageDlg(QStringLiteral("Erreur OLE. ASCOM indisponible"), MsgDlgType::Error,
                                    {MsgDlgBtn::OK});
    f.AscomOK = false;
  }
  // After a failed chooser the answer of an earlier click, if any, is taken again.
  f.Memo1->Add(QLatin1Char('#') + Edit1->text() + QLatin1Char('#'));
  Application->ProcessMessages();
  if (Edit1->text().isEmpty()) return;

  f.AscomOK = true;
  f.FocDriver = Edit1->text();
  // The limits and the focus position of the old driver mean nothing for the
  // new one; the record takes the cleared boxes on OK.
  LimiteBasse->setText(QString::number(kNoLowerLimit));
  LimiteBasse->setColor(clWindow);
  LimiteHaute->setText(QString::number(kNoUpperLimit));
  LimiteHaute->setColor(clWindow);
  PointDeMap->setText(QString::number(kNoFocusPosition));
  PointDeMap->setColor(clWindow);
  f.platform().desktop.bringToFront(this);
}

void TForm3::Button1Click() { Form1->Focuser.SetupDialog(); }
