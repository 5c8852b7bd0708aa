// Finding the ASCOM platform, creating and linking the focuser driver, the
// first show's focuser steps and the connect button.
#include <QFont>
#include <optional>

#include "app/Unit1.h"
#include "platform/application.h"
#include "platform/ini_file.h"
#include "platform/registry.h"

namespace {

const QString kFcusbDriver = QStringLiteral("FCUSB.Focuser");
// Where the FCUSB's own program keeps its step size.
const QString kFcusbRegistryKey = QStringLiteral("Software\\VB and VBA Program Settings\\Quorvane\\Settings");
const QString kFcusbPulseTime = QStringLiteral("PulseTime");
constexpr int kOldestPlatform = 5;
constexpr int kIconError = 48;
const QString kFocuserType = QStringLiteral("Focuser");
const QString kLinked = QStringLiteral("Moteur MAP connecté");
const QString kNotLinked = QStringLiteral("Moteur MAP non connecté");

// The leading whole number of a version text ("10.0" is 10); none when the
// text does not start with a digit.
std::optional<int> majorVersion(const QString& version) {
  qint64 major = 0;
  int digits = 0;
  for (const QChar c : version) {
    if (!c.isDigit() || c.unicode() > '9') break;
    major = std::min<qint64>(major * 10 + (c.unicode() - '0'), INT32_MAX);
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  return static_cast<int>(major);
}

void showAscomBox(const AutomationRef& messages, const QString& text, const QString& caption) {
  messages.call(QStringLiteral("MessageBox"),
                {{text, Passing::Reference}, {kIconError, Passing::Value}, {caption, Passing::Value}});
}

// What LitRegistre has established so far, so that an error it does not
// handle leaves the flags and buttons saying what exists.
struct Found {
  bool platform = false;
  bool driver = false;
};

// The link's state on the edit's label and the motion buttons.
void showLinkState(TForm1& f, bool linked) {
  f.EditFocuser->setLabelText(linked ? kLinked : kNotLinked);
  for (TSpeedButton* b : {f.BoutonAVRapide, f.BoutonRERapide}) b->setEnabled(linked);
  if (!linked)
    for (TSpeedButton* b : {f.BoutonAutofocus, f.BoutonRappelMAP, f.GoLimiteBasse, f.GoLimiteHaute})
      b->setEnabled(false);
}

// The platform or the driver is missing: nothing may call a driver. The
// object held so far is let go, so that no button, poll or run drives a
// focuser other than the one the settings name.
void noDriver(TForm1& f, bool showUnlinked) {
  f.FocuserExists = false;
  f.Focuser = AutomationRef();
  f.TimerTrackBar->setEnabled(false);
  f.BoutonFocuserConnect->setEnabled(false);
  f.BoutonSTOP->setEnabled(false);
  if (showUnlinked) showLinkState(f, false);
}

void connectFocuser(TForm1& f, bool pFirstTime, Found& found) {
  ComRegistry& com = f.platform().com;
  f.AscomOK = true;
  Application->ProcessMessages();
  if (Application->Terminated()) return;

  AutomationRef utilities;
  try {
    utilities = com.CreateOleObject(QStringLiteral("ASCOM.Utilities.Util"));
  } catch (const std::exception&) {
    f.MemoLog->Add(QStringLiteral("Ascom non détecté"));
    f.AscomOK = false;
    noDriver(f, false);
    return;
  }

  std::optional<int> major;
  try {
    f.VersionAscom = utilities.get(QStringLiteral("PlatformVersion")).toString();
    if (pFirstTime) f.MemoLog->Add(QStringLiteral("Ascom ") + f.VersionAscom + QStringLiteral(" détecté"));
    major = majorVersion(f.VersionAscom);
  } catch (const AutomationError&) {
  }
  if (!major || *major < kOldestPlatform) {
    f.MemoLog->Add(major ? QStringLiteral("Version Ascom < 5 : ERREUR") : QStringLiteral("Version Ascom : ERREUR"));
    f.AscomOK = false;
    noDriver(f, true);
    return;
  }
  found.platform = true;

  const AutomationRef messages = com.CreateOleObject(QStringLiteral("DriverHelper.Util"));
  f.xProfile = com.CreateOleObject(QStringLiteral("DriverHelper.Profile"));
  f.xProfile.put(QStringLiteral("DeviceType"), kFocuserType);

  if (f.FocDriver.isEmpty()) {
    const AutomationRef chooser = com.CreateOleObject(QStringLiteral("DriverHelper.Chooser"));
    chooser.put(QStringLiteral("devicetype"), kFocuserType);
    f.FocDriver = chooser.call(QStringLiteral("Choose"), {{f.FocDriver, Passing::Reference}}).toString();
  }

  f.FocName = f.xProfile.call(QStringLiteral("GetValue"), {{f.FocDriver, Passing::Reference}, {QString(), Passing::Value}})
                  .toString();
  f.EditFocuser->setText(f.FocName);

  // A case-sensitive comparison: only this exact identifier keeps its step
  // size in the registry.
  const bool fcusb = f.FocDriver == kFcusbDriver;
  if (fcusb) {
    QString text;
    int pulseTime = 0;
    const bool read = f.platform().registry.readString(kFcusbRegistryKey, kFcusbPulseTime, text) &&
                      parseIniInteger(text.trimmed(), pulseTime);
    f.FocStep = read ? pulseTime : 1;
    f.Memo1->Add(QStringLiteral("FCUSB détecté, stepsize : ") + QString::number(f.FocStep));
    f.MemoLog->Add(QStringLiteral("FCUSB détecté"));
    f.MemoLog->Add(read ? QStringLiteral("  +-- PulseTime ") + QString::number(pulseTime)
                        : QStringLiteral("  +-- PulseTime : ERREUR"));
  }

  try {
    f.Focuser = com.CreateOleObject(f.FocDriver);
  } catch (const std::exception& error) {
    const bool automation = dynamic_cast<const AutomationError*>(&error) != nullptr;
    const auto* own = dynamic_cast<const Exception*>(&error);
    const QString prefix = automation ? QStringLiteral("Exception OLE : Erreur de création Focuser ")
                                      : QStringLiteral("Exception : Erreur de création Focuser ");
    showAscomBox(messages,
                 prefix + QLatin1Char('"') + f.FocDriver + QLatin1Char('"') + QStringLiteral(", erreur #") +
                     QString::number(own ? own->helpContext() : 0),
                 QStringLiteral("Erreur de création focuser"));
    noDriver(f, true);
    return;
  }
  found.driver = true;
  f.FocuserExists = true;
  f.BoutonFocuserConnect->setEnabled(true);

  if (!fcusb) {
    try {
      f.FocStep = f.Focuser.StepSize();
    } catch (const std::exception&) {
      f.FocStep = 1;
    }
  }
  f.FocMaxIncrement = f.Focuser.MaxIncrement();

  Application->ProcessMessages();
  if (Application->Terminated()) return;
  try {
    f.MemoLog->Add(f.FocName);
    if (f.Focuser.Absolute()) {
      f.xPosition = f.Focuser.Position();
      f.MemoLog->Add(QStringLiteral("  +-- Positionnement absolu"));
      f.BoutonResetPos->hide();
    } else {
      f.MemoLog->Add(QStringLiteral("  +-- Positionnement relatif"));
      f.BoutonResetPos->show();
    }
    f.MemoLog->Add(QStringLiteral("  +-- Taille du pas : ") + QString::number(f.FocStep) + QStringLiteral(" microns"));
    f.Focuser.setLink(true);
    if (f.Focuser.Link()) {
      f.Memo1->Add(QStringLiteral("Focuser link : True"));
      f.BoutonAVRapide->setEnabled(true);
      f.BoutonRERapide->setEnabled(true);
      f.TimerTrackBar->setEnabled(true);
      f.LabelPosition->setText(QString::number(f.xPosition));
      if (f.xPositionMap != kNoFocusPosition) f.BoutonRappelMAP->setEnabled(true);
    } else {
      f.Memo1->Add(QStringLiteral("Focuser link : False"));
      f.TimerTrackBar->setEnabled(false);
      f.BoutonRappelMAP->setEnabled(false);
      f.BoutonAVRapide->setEnabled(false);
      f.BoutonRERapide->setEnabled(false);
    }
    f.EditFocuser->setText(f.FocName);
  } catch (const AutomationError&) {
    showAscomBox(messages,
                 QStringLiteral("Impossible de se connecter au focuser \"") + f.FocName +
                     QStringLiteral("\"\n\r\n\rVérifiez les branchements. Le focuser reste cependant sélectionné."),
                 QStringLiteral("Erreur de connexion"));
  }
}

void showAscomLabel(TLabel* label, bool found) {
  label->setFontColor(found ? clGreen : clRed);
  QFont font = label->font();
  font.setStrikeOut(!found);
  label->setFont(font);
}

}  // namespace

void TForm1::wireFocuserEvents() {
  connect(BoutonFocuserConnect, &QToolButton::clicked, this, [this] { guarded([this] { BoutonFocuserConnectClick(); }); });
  connect(TimerTrackBar, &TTimer::OnTimer, this, [this] { guarded([this] { TimerTrackBarTimer(); }); });
  wireMotionButtonEvents();
}

void TForm1::LitRegistre(bool pFirstTime) {
  // No driver counts as there until this run has created one.
  FocuserExists = false;
  Found found;
  try {
    connectFocuser(*this, pFirstTime, found);
  } catch (...) {
    AscomOK = found.platform;
    if (!found.driver) noDriver(*this, true);
    throw;
  }
}

void TForm1::FirstShowFocuser() {
  LitRegistre(true);
  if (Application->Terminated()) return;  // closed while the routine served events
  if (AscomOK) {
    showAscomLabel(LabelAscom, true);
    if (FocuserExists) {
      Focuser.setLink(true);
      const bool linked = Focuser.Link();
      Memo1->Add(linked ? kLinked : kNotLinked);
      showLinkState(*this, linked);
      if (linked) {
        TimerTrackBar->setEnabled(true);
        AfficheBarrePO();
      }
    }
  }
  if (!AscomOK) showAscomLabel(LabelAscom, false);
}

void TForm1::BoutonFocuserConnectClick() {
  TimerTrackBar->setEnabled(false);
  Focuser.toggleLink();
  if (Focuser.Link()) {
    showLinkState(*this, true);
    for (TSpeedButton* b : {BoutonRappelMAP, GoLimiteBasse, GoLimiteHaute}) b->setEnabled(true);
    if (xIsEtoile && CheckBox1->isChecked()) BoutonAutofocus->setEnabled(true);
    TimerTrackBar->setEnabled(true);
  } else {
    showLinkState(*this, false);
  }
}
