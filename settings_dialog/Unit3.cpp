#include "settings_dialog/Unit3.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QShowEvent>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/settings_store.h"
#include "app/window_place.h"
#include "platform/application.h"
#include "platform/controls.h"
#include "platform/controls_dialog.h"
#include "platform/number_format.h"
#include "settings_dialog/form3_definition.h"

TForm3* Form3 = nullptr;

namespace {

// How each kind of control shows a setting and gives it back.
void showValue(TUpDown* c, int v) { c->setPosition(v); }  // the position shows in the up-down's edit
void showValue(TLabeledEdit* c, int v) { c->setText(QString::number(v)); }
void showValue(QComboBox* c, int v) { c->setCurrentIndex(v >= 0 && v < c->count() ? v : -1); }
void showValue(TSpinEdit* c, int v) { c->setValue(v); }  // brought into its range
void showValue(QCheckBox* c, bool v) { c->setChecked(v); }
int valueOf(const TUpDown* c) { return c->Position(); }
int valueOf(const TLabeledEdit* c) { return c->text().toInt(); }
int valueOf(const QComboBox* c) { return c->currentIndex(); }
int valueOf(const TSpinEdit* c) { return c->Value(); }
bool valueOf(const QCheckBox* c) { return c->isChecked(); }

// A setting that OK takes from a control of the dialog, and that the filling
// shows there.
struct SettingControl {
  SettingField field;
  void (*show)(TForm3& dialog, const SettingsRecord& r);
  void (*take)(const TForm3& dialog, SettingsRecord& r);
};

template <auto field, auto control>
constexpr SettingControl settingControl() {
  return {field, [](TForm3& d, const SettingsRecord& r) { showValue(d.*control, r.*field); },
          [](const TForm3& d, SettingsRecord& r) { r.*field = valueOf(d.*control); }};
}

// In the order the filling sets them.
constexpr SettingControl kSettingControls[] = {
    settingControl<&SettingsRecord::xPasLent, &TForm3::UpDownLent>(),
    settingControl<&SettingsRecord::xPasRapide, &TForm3::UpDownRapide>(),
    settingControl<&SettingsRecord::xNbMesures, &TForm3::UpDownMesures>(),
    settingControl<&SettingsRecord::xTolerance, &TForm3::UpDown1>(),
    settingControl<&SettingsRecord::xDelaiAutofocus, &TForm3::UpDown2>(),
    settingControl<&SettingsRecord::xLimiteBasse, &TForm3::LimiteBasse>(),
    settingControl<&SettingsRecord::xLimiteHaute, &TForm3::LimiteHaute>(),
    settingControl<&SettingsRecord::xPositionMap, &TForm3::PointDeMap>(),
    settingControl<&SettingsRecord::xMethode, &TForm3::ComboBox1>(),
    settingControl<&SettingsRecord::xManuel, &TForm3::IsManuel>(),
    settingControl<&SettingsRecord::xTaille, &TForm3::SpinEdit1>(),
};

// A setting the table says OK copies has exactly one control here, and no
// other setting has one, so OK never copies a value no control gave.
constexpr bool oneControlPerSettingCopiedOnOk() {
  for (const Setting& s : kSettings) {
    int controls = 0;
    for (const SettingControl& c : kSettingControls) controls += c.field == s.field ? 1 : 0;
    if (controls != (s.copiedOnOk ? 1 : 0)) return false;
  }
  return true;
}
static_assert(oneControlPerSettingCopiedOnOk(), "a setting copied on OK lacks its control, or has two");

}  // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  defineForm3(*this);
  wireEvents();
}

TForm3::~TForm3() {
  if (Form3 == this) Form3 = nullptr;
}

void TForm3::wireEvents() {
  auto on = [this](auto* sender, auto signal, void (TForm3::*handler)()) {
    connect(sender, signal, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
  };
  // A pick in the list, never a selection made by the program.
  on(ComboBox1, &QComboBox::activated, &TForm3::ComboBox1Change);
  on(MaskEdit1, &QLineEdit::textChanged, &TForm3::MaskEdit1Change);
  on(UpDownMesures, &TUpDown::OnClick, &TForm3::UpDownMesuresClick);
  on(IsManuel, &QCheckBox::toggled, &TForm3::IsManuelClick);
  on(SpinEdit1, &QLineEdit::textChanged, &TForm3::SpinEdit1Change);
  on(BitBtn6, &QPushButton::clicked, &TForm3::BitBtn6Click);
  on(BoutonOK, &QPushButton::clicked, &TForm3::accept);
  on(BitBtn3, &QPushButton::clicked, &TForm3::reject);

  on(BoutonSelection, &QPushButton::clicked, &TForm3::BoutonSelectionClick);
  on(Button1, &QPushButton::clicked, &TForm3::Button1Click);

  on(ValideLimiteBasse, &QToolButton::clicked, &TForm3::ValideLimiteBasseClick);
  on(ValideLimiteHaute, &QToolButton::clicked, &TForm3::ValideLimiteHauteClick);
  on(ValideMAP, &QToolButton::clicked, &TForm3::ValideMAPClick);
  on(EffaceLimiteBasse, &QToolButton::clicked, &TForm3::EffaceLimiteBasseClick);
  on(EffaceLimiteHaute, &QToolButton::clicked, &TForm3::EffaceLimiteHauteClick);
  on(EffaceMAP, &QToolButton::clicked, &TForm3::EffaceMAPClick);
  on(LimiteBasse, &QLineEdit::textChanged, &TForm3::LimiteBasseChange);
  on(LimiteHaute, &QLineEdit::textChanged, &TForm3::LimiteHauteChange);
  on(PointDeMap, &QLineEdit::textChanged, &TForm3::PointDeMapChange);

  on(BitBtn4, &QPushButton::clicked, &TForm3::BitBtn4Click);
  on(BitBtn5, &QPushButton::clicked, &TForm3::BitBtn5Click);
}

void TForm3::setVisible(bool visible) {
  if (visible && !isVisible()) centreOnOpenerScreen(*this);
  QDialog::setVisible(visible);
}

void TForm3::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;  // shown again by the window system, not opened
  guarded([this] { FormShow(); });
}

void TForm3::FormShow() {
  InitVar();
  // The hand-over of an earlier OK still waits for a move or a run to end:
  // the dialog shows what it holds, so that a second OK keeps it.
  if (pendingHandOver) AfficheValeurs(*pendingHandOver);
}

void TForm3::InitVar() {
  TForm1& f = *Form1;
  IsManuel->setToolTip(QStringLiteral("Affiche une fenêtre demandant le déclenchement manuel") +
                       QStringLiteral("\n\r") + QStringLiteral("de la prise de vue entre chaque mouvement moteur"));

  // The change handlers of the boxes, the check box and the size run as the
  // values show (a method outside the list selects nothing).
  for (const SettingControl& c : kSettingControls) c.show(*this, f);
  // The change handler stores the shown, rounded target whenever the text changes.
  MaskEdit1->setText(formatCible(f.xCible));
  const bool intraExtra = ComboBox1->currentIndex() == 1;
  Label5->setEnabled(intraExtra);
  MaskEdit1->setEnabled(intraExtra);

  // A box at its sentinel keeps the window colour its change handler gave it.
  if (f.xLimiteBasse != kNoLowerLimit) LimiteBasse->setColor(clLightGreen);
  if (f.xLimiteHaute != kNoUpperLimit) LimiteHaute->setColor(clLightGreen);
  if (f.xPositionMap != kNoFocusPosition) PointDeMap->setColor(clLightGreen);

  for (TSpeedButton* b :
       {ValideLimiteBasse, ValideLimiteHaute, ValideMAP, EffaceLimiteBasse, EffaceLimiteHaute, EffaceMAP})
    b->setEnabled(true);

  // Without the platform there is no driver to pick or to learn from; the
  // groups stay hidden for the rest of the run.
  if (!f.AscomOK) {
    GroupeMoteurMAP->hide();
    GroupeApprentissage->hide();
  }
}

void TForm3::ComboBox1Change() {
  const int index = ComboBox1->currentIndex();
  Form1->xMethode = index;
  Label5->setEnabled(index == 1);
  MaskEdit1->setEnabled(index == 1);
  Form1->Memo1->Add(QStringLiteral("Méthode Autofocus : ") + ComboBox1->itemText(index));
}

void TForm3::MaskEdit1Change() { Form1->xCible = numfmt::StrToFloat(MaskEdit1->text()); }

void TForm3::UpDownMesuresClick() {
  EditMesures->setText(QString::number(UpDownMesures->Position()));
  Form1->xNbMesures = UpDownMesures->Position();
}

void TForm3::IsManuelClick() { Form1->xManuel = IsManuel->isChecked(); }

void TForm3::SpinEdit1Change() {
  const int v = SpinEdit1->Value();
  Shape1->resize(v, v);  // grows right and down from its fixed corner
  Form1->xTaille = v;
}

void TForm3::BitBtn6Click() {
  if (AboutBox) AboutBox->exec();
}

SettingsRecord TForm3::LitValeurs() const {
  SettingsRecord v;
  for (const SettingControl& c : kSettingControls) c.take(*this, v);
  return v;
}

void TForm3::AfficheValeurs(const SettingsRecord& v) {
  for (const SettingControl& c : kSettingControls) c.show(*this, v);
}
