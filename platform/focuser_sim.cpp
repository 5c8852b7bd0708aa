#include "platform/focuser_sim.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <algorithm>
#include <cstdlib>

#include "platform/clock.h"

FocusSimSettings FocusSimSettings::sanitized() const {
  FocusSimSettings s = *this;
  s.speed = std::max(s.speed, 1);
  s.maxStep = std::max(s.maxStep, 1);
  s.startPosition = std::clamp(s.startPosition, 0, s.maxStep);
  return s;
}

FocusSimMotor::FocusSimMotor(Clock& clock, const FocusSimSettings& settings)
    : clock_(clock), settings_(settings.sanitized()), from_(settings_.startPosition), to_(from_) {}

void FocusSimMotor::setSettings(const FocusSimSettings& settings) {
  rebase();
  settings_ = settings.sanitized();
  from_ = std::clamp(from_, 0, settings_.maxStep);
  to_ = std::clamp(to_, 0, settings_.maxStep);
}

int FocusSimMotor::position() {
  if (from_ == to_) return to_;
  const uint32_t elapsed = clock_.GetTickCount() - startTick_;  // wraps with the tick count
  const qint64 distance = std::abs(qint64(to_) - from_);
  const qint64 travelled = qint64(elapsed) * settings_.speed / 1000;
  if (travelled >= distance) {
    from_ = to_;
    return to_;
  }
  return static_cast<int>(from_ + (to_ > from_ ? travelled : -travelled));
}

bool FocusSimMotor::isMoving() { return position() != to_; }

void FocusSimMotor::rebase() {
  from_ = position();
  startTick_ = clock_.GetTickCount();
}

void FocusSimMotor::moveTo(qint64 target) {
  rebase();
  to_ = static_cast<int>(std::clamp<qint64>(target, 0, settings_.maxStep));
}

void FocusSimMotor::halt() {
  rebase();
  to_ = from_;
}

FocusSimDriver::FocusSimDriver(std::shared_ptr<FocusSimMotor> motor, SetupUi setup)
    : motor_(std::move(motor)), setup_(std::move(setup)) {}

namespace {

[[noreturn]] void refuse(const QString& description, int context) {
  throw AutomationError(kFocusSimId, description, context);
}

// Properties are read as method-or-property-get; a write is refused but where
// the property can be written.
void readOnly(const QString& member, InvokeKind kind) {
  if (kind == InvokeKind::Put) throw unknownMember(member);
}

}  // namespace

Variant FocusSimDriver::invoke(const QString& member, InvokeKind kind, std::vector<Arg>& args) {
  const FocusSimSettings& s = motor_->settings();
  if (isMember(member, "Link")) {
    if (kind == InvokeKind::Put) {
      linked_ = argumentAt(args, 0).toBool();
      return {};
    }
    return linked_;
  }
  if (isMember(member, "Absolute")) {
    readOnly(member, kind);
    return s.absolute;
  }
  if (isMember(member, "StepSize")) {
    readOnly(member, kind);
    return s.stepSize;
  }
  if (isMember(member, "MaxIncrement")) {
    readOnly(member, kind);
    return s.maxIncrement;
  }
  if (isMember(member, "Position")) {
    readOnly(member, kind);
    if (!s.absolute)
      refuse(QStringLiteral("Position indisponible : le focuser se déplace par pas relatifs."), kFocusSimNoPosition);
    return motor_->position();
  }
  if (isMember(member, "IsMoving")) {
    readOnly(member, kind);
    return motor_->isMoving();
  }
  if (isMember(member, "Move")) {
    readOnly(member, kind);
    // A position plus a step count can come as a real number; the travel is
    // far smaller than the bounds it is brought within here.
    move(static_cast<qint64>(std::clamp(argumentAt(args, 0).toDouble(), -1e15, 1e15)));
    return {};
  }
  if (isMember(member, "Halt")) {
    readOnly(member, kind);
    motor_->halt();
    return {};
  }
  if (isMember(member, "SetupDialog")) {
    readOnly(member, kind);
    if (setup_) setup_(*motor_);
    return {};
  }
  throw unknownMember(member);
}

void FocusSimDriver::move(qint64 value) {
  if (!linked_) refuse(QStringLiteral("Le focuser n'est pas connecté."), kFocusSimNotLinked);
  const FocusSimSettings& s = motor_->settings();
  const qint64 here = motor_->position();
  const qint64 steps = s.absolute ? value - here : value;
  if (s.maxIncrement >= 1 && std::abs(steps) > s.maxIncrement)
    refuse(QStringLiteral("Déplacement de %1 pas refusé : le plus grand déplacement est de %2 pas.")
               .arg(steps)
               .arg(s.maxIncrement),
           kFocusSimMoveTooLarge);
  motor_->moveTo(here + steps);
}

bool runFocusSimSetupDialog(FocusSimSettings& settings, QWidget* parent) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("FocusSimSetup"));
  dialog.setWindowTitle(QStringLiteral("Simulateur de focuser - Réglages"));
  auto* form = new QFormLayout(&dialog);
  auto* absolute = new QCheckBox(QStringLiteral("Positionnement absolu"), &dialog);
  absolute->setObjectName(QStringLiteral("absolute"));
  absolute->setChecked(settings.absolute);
  form->addRow(absolute);
  auto spin = [&](const char* name, const QString& label, int value, FocusSimSettings::Bounds bounds) {
    auto* box = new QSpinBox(&dialog);
    box->setObjectName(QLatin1String(name));
    box->setRange(bounds.min, bounds.max);
    box->setValue(value);
    form->addRow(label, box);
    return box;
  };
  using S = FocusSimSettings;
  QSpinBox* speed = spin("speed", QStringLiteral("Vitesse (pas/s)"), settings.speed, S::kSpeedBounds);
  QSpinBox* maxIncrement = spin("maxIncrement", QStringLiteral("Plus grand déplacement (pas)"), settings.maxIncrement,
                                S::kMaxIncrementBounds);
  QSpinBox* maxStep = spin("maxStep", QStringLiteral("Course (pas)"), settings.maxStep, S::kMaxStepBounds);
  QSpinBox* stepSize = spin("stepSize", QStringLiteral("Taille du pas (microns)"), settings.stepSize, S::kStepSizeBounds);
  QSpinBox* start = spin("startPosition", QStringLiteral("Position au démarrage (pas)"), settings.startPosition,
                         S::kStartPositionBounds);
  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return false;
  settings.absolute = absolute->isChecked();
  settings.speed = speed->value();
  settings.maxIncrement = maxIncrement->value();
  settings.maxStep = maxStep->value();
  settings.stepSize = stepSize->value();
  settings.startPosition = start->value();
  settings = settings.sanitized();
  return true;
}
